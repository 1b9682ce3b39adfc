#include "skin/Skin.h"
#include "skin/SkinDescription.h"

#include "TempFolder.h"

#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// The skin description: the shipped one loads completely, and every kind of
// damage makes the load fail instead of producing a half-skinned look.
class TestSkinDescription : public QObject
{
    Q_OBJECT

private:
    static QJsonObject validDescription()
    {
        return QJsonObject{
            {"description", "Test Skin"},
            {"application", "Standard Skin"},
            {"hue", 200},
            {"backColor", "#ffffff"},
            {"foreColor", "#000000"},
            {"panelColor", "#808080"},
            {"panelTextColor", "#ffffff"},
            {"applyColors", true},
            {"skinClientArea", true},
            {"images", QJsonArray{"box.png"}},
            {"elements", QJsonArray{QJsonObject{{"name", "Check Box"}, {"normal", "box.png"}}}},
        };
    }

private slots:
    void shippedSkinLoads()
    {
        Skin skin;
        QVERIFY2(skin.isLoaded(), qPrintable(skin.loadError()));
        const SkinDescription &d = skin.description();
        QCOMPARE(d.description, QStringLiteral("Studio Blue"));
        QCOMPARE(d.application, QStringLiteral("Standard Skin"));
        QVERIFY(d.author.isEmpty());
        for (const char *name : {"Form", "Button", "Check Box", "Label", "HScrollBar", "VScrollBar"})
            QVERIFY2(d.element(QLatin1String(name)), name);
        // Every image the elements name is readable from the resources.
        for (const SkinElement &e : d.elements) {
            for (auto it = e.values.constBegin(); it != e.values.constEnd(); ++it) {
                if (it.value().toString().endsWith(QLatin1String(".png")))
                    QVERIFY2(!QImage(e.imagePath(it.key())).isNull(), qPrintable(e.imagePath(it.key())));
            }
        }
        QCOMPARE(skin.backColor(), std::optional<QRgb>(d.backColor.rgb()));
        QCOMPARE(skin.panelTextColor(), std::optional<QRgb>(d.panelTextColor.rgb()));
    }

    void damagedDescriptionFails_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value"); // Undefined removes the key

        QTest::newRow("hue missing") << "hue" << QJsonValue(QJsonValue::Undefined);
        QTest::newRow("hue out of range") << "hue" << QJsonValue(360);
        QTest::newRow("hue as text") << "hue" << QJsonValue("214");
        QTest::newRow("back colour missing") << "backColor" << QJsonValue(QJsonValue::Undefined);
        QTest::newRow("fore colour not a colour") << "foreColor" << QJsonValue("#12345z");
        QTest::newRow("panel colour a name") << "panelColor" << QJsonValue("blue");
        QTest::newRow("fourth colour missing") << "panelTextColor" << QJsonValue(QJsonValue::Undefined);
        QTest::newRow("switch as number") << "applyColors" << QJsonValue(1);
        QTest::newRow("client switch missing") << "skinClientArea" << QJsonValue(QJsonValue::Undefined);
        QTest::newRow("image missing") << "images" << QJsonValue(QJsonArray{"box.png", "gone.png"});
        QTest::newRow("element uses unlisted image")
            << "elements" << QJsonValue(QJsonArray{QJsonObject{{"name", "Button"}, {"pressed", "other.png"}}});
        QTest::newRow("element without name") << "elements" << QJsonValue(QJsonArray{QJsonObject{{"normal", "box.png"}}});
    }

    void damagedDescriptionFails()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);

        TempFolder folder;
        QImage box(13, 13, QImage::Format_ARGB32);
        box.fill(Qt::blue);
        QVERIFY(box.save(folder.filePath("box.png")));
        QVERIFY(box.save(folder.filePath("other.png")));

        // The untouched description loads: the failure comes from the change.
        QString error;
        QVERIFY2(ParseSkinDescription(QJsonDocument(validDescription()).toJson(), folder.path(), &error),
                 qPrintable(error));

        QJsonObject damaged = validDescription();
        if (value.isUndefined())
            damaged.remove(key);
        else
            damaged.insert(key, value);
        error.clear();
        QVERIFY(!ParseSkinDescription(QJsonDocument(damaged).toJson(), folder.path(), &error));
        QVERIFY(!error.isEmpty());
    }

    void unreadableFileLeavesSkinUnloaded_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated") << QByteArray("{\"description\": \"Studio Blue\", \"hue\": ");
        QTest::newRow("array") << QByteArray("[1, 2, 3]");
    }

    void unreadableFileLeavesSkinUnloaded()
    {
        QFETCH(QByteArray, content);
        TempFolder folder;
        QVERIFY(folder.write("broken.skin.json", content));
        Skin skin(folder.filePath("broken.skin.json"), nullptr);
        QVERIFY(!skin.isLoaded());
        QVERIFY(!skin.backColor());
        QVERIFY(!skin.foreColor());
        QVERIFY(!skin.panelColor());
        QVERIFY(!skin.panelTextColor());
        QVERIFY(skin.styleSheet().isEmpty());
    }

    void missingFileLeavesSkinUnloaded()
    {
        Skin skin(QStringLiteral(":/skin/no-such-skin.json"), nullptr);
        QVERIFY(!skin.isLoaded());
        QVERIFY(!skin.loadError().isEmpty());
    }

    void gradientAndColourValues_data()
    {
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QList<QColor>>("expected");
        QTest::newRow("two stops") << QJsonValue(QJsonArray{"#ffffff", "#000000"})
                                   << QList<QColor>{QColor(Qt::white), QColor(Qt::black)};
        QTest::newRow("single colour") << QJsonValue("#102030")
                                       << QList<QColor>{QColor(0x10, 0x20, 0x30), QColor(0x10, 0x20, 0x30)};
        QTest::newRow("with alpha") << QJsonValue(QJsonArray{"#80ff0000", "#ff0000"})
                                    << QList<QColor>{QColor(255, 0, 0, 128), QColor(255, 0, 0)};
        QTest::newRow("three stops") << QJsonValue(QJsonArray{"#ffffff", "#000000", "#ffffff"}) << QList<QColor>{};
        QTest::newRow("bad stop") << QJsonValue(QJsonArray{"#ffffff", "black"}) << QList<QColor>{};
        QTest::newRow("number") << QJsonValue(3) << QList<QColor>{};
    }

    void gradientAndColourValues()
    {
        QFETCH(QJsonValue, value);
        QFETCH(QList<QColor>, expected);
        SkinElement element;
        element.values.insert(QStringLiteral("g"), value);
        QCOMPARE(element.gradient(QStringLiteral("g")), expected);
    }
};

QTEST_MAIN(TestSkinDescription)
#include "tst_skindescription.moc"
