#include "rtf/RtfReader.h"

#include "rtf/RtfParser.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>

namespace {

QString read(const QByteArray &rtf, bool *ok = nullptr)
{
    QTextDocument document;
    const bool result = ReadRtfDocument(rtf, document);
    if (ok)
        *ok = result;
    // Block by block, so line breaks and no-break spaces stay as they are.
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks.append(block.text());
    return blocks.join(u'\n');
}

// The cursor just after the first character of `marker`, where a cursor
// reports that character's format.
QTextCursor cursorAt(QTextDocument &document, const QString &marker)
{
    const qsizetype at = document.toPlainText().indexOf(marker);
    if (at < 0)
        return {};
    QTextCursor cursor(&document);
    cursor.setPosition(int(at) + 1);
    return cursor;
}

QByteArray nested(int depth, const QByteArray &inner)
{
    return QByteArray(depth, '{') + inner + QByteArray(depth, '}');
}

} // namespace

class TestRtfReader : public QObject
{
    Q_OBJECT

private slots:
    void plainText_data();
    void plainText();
    void notRtf_data();
    void notRtf();
    void characterFormat_data();
    void characterFormat();
    void paragraphFormat_data();
    void paragraphFormat();
    void tabStops_data();
    void tabStops();
    void links_data();
    void links();
    void bookmarks();
    void tables();
    void fontCharsets_data();
    void fontCharsets();
    void caps_data();
    void caps();
    void stopEndsTheRead();
    void randomJunkInSkippedGroupStaysHidden();
    void randomInputIsReadSafelyAndDeterministically();
};

void TestRtfReader::plainText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    // Structure and breaks
    QTest::newRow("paragraphs") << QByteArray(R"({\rtf1 One\par Two})") << u"One\nTwo"_qs;
    QTest::newRow("closing paragraph opens no empty one") << QByteArray(R"({\rtf1 One\par})") << u"One"_qs;
    QTest::newRow("empty paragraph kept") << QByteArray(R"({\rtf1 One\par\par Two\par})") << u"One\n\nTwo"_qs;
    QTest::newRow("line break") << QByteArray(R"({\rtf1 a\line b})") << u"a\u2028b"_qs;
    QTest::newRow("tab word and literal tab") << QByteArray("{\\rtf1 a\\tab b\tc}") << u"a\tb\tc"_qs;
    QTest::newRow("line ends in source are not text") << QByteArray("{\\rtf1 a\r\nb\nc}") << u"abc"_qs;
    QTest::newRow("backslash line end is a paragraph") << QByteArray("{\\rtf1 a\\\nb}") << u"a\nb"_qs;
    QTest::newRow("escaped braces and backslash") << QByteArray(R"({\rtf1 \{x\}\\})") << u"{x}\\"_qs;
    QTest::newRow("control word delimiter space eaten") << QByteArray(R"({\rtf1 \b bold\b0  plain})") << u"bold plain"_qs;

    // Characters
    QTest::newRow("cp1252 bytes") << QByteArray(R"({\rtf1\ansi\ansicpg1252 caf\'e9 \'80 \'93q\'94})")
                                  << u"café € “q”"_qs;
    QTest::newRow("cp1252 without ansicpg") << QByteArray(R"({\rtf1\ansi \'85\'99})") << u"…™"_qs;
    QTest::newRow("literal high bytes in code page") << QByteArray("{\\rtf1\\ansi na\xefve}") << u"naïve"_qs;
    QTest::newRow("cp1251 from ansicpg") << QByteArray(R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8})") << u"При"_qs;
    QTest::newRow("font charset overrides document code page")
        << QByteArray(R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0 Arial;}{\f1\fcharset204 Arial Cyr;}}\f1 \'cf\f0 \'cf})")
        << u"ПÏ"_qs;
    QTest::newRow("double-byte code page") << QByteArray(R"({\rtf1\ansi{\fonttbl{\f0\fcharset128 Gothic;}}\f0 \'93\'fa\'96\'7b})")
                                           << u"日本"_qs;
    QTest::newRow("symbol font bullet") << QByteArray(R"({\rtf1{\fonttbl{\f1\fcharset2 Symbol;}}{\f1 \'b7}\tab x})")
                                        << u"•\tx"_qs;
    QTest::newRow("unicode with fallback") << QByteArray(R"({\rtf1 \u8364?x})") << u"€x"_qs;
    QTest::newRow("surrogate pair from negative values") << QByteArray(R"({\rtf1 \u-10179?\u-8704?})") << u"😀"_qs;
    QTest::newRow("uc2 skips two fallback bytes") << QByteArray(R"({\rtf1\uc2\u26085\'93\'fa!})") << u"日!"_qs;
    QTest::newRow("uc0 skips nothing") << QByteArray(R"({\rtf1\uc0\u233 e})") << u"ée"_qs;
    QTest::newRow("uc count ends with its group") << QByteArray(R"({\rtf1{\uc2 \u233 ab}\u233 cd})") << u"ééd"_qs;
    QTest::newRow("fallback skipping stops at a brace") << QByteArray(R"({\rtf1\uc3\u233{x}y})") << u"éxy"_qs;
    QTest::newRow("special character words")
        << QByteArray(R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\~.})")
        << u"—–•‘’“”\u00a0."_qs;
    QTest::newRow("lone surrogate replaced") << QByteArray(R"({\rtf1 a\u-10179?b})") << u"a\ufffdb"_qs;
    QTest::newRow("characters the document uses itself are dropped")
        << QByteArray(R"({\rtf1 a\u-560?\u-559?\u65532?\u0?\u8233?b})") << u"ab"_qs;

    // Destinations
    QTest::newRow("head tables and info skipped")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fswiss Arial;}}{\colortbl;\red1\green2\blue3;})"
                      R"({\stylesheet{\s0 Normal;}}{\info{\title T}{\author A}}{\*\generator Gen;}Body})")
        << u"Body"_qs;
    QTest::newRow("font table without entry groups") << QByteArray(R"({\rtf1{\fonttbl\f0\fnil Arial;\f1 Times;}Body})")
                                                     << u"Body"_qs;
    QTest::newRow("picture skipped") << QByteArray(R"({\rtf1 a{\pict\pngblip 89504e47}b})") << u"ab"_qs;
    QTest::newRow("binary data skipped") << QByteArray(R"({\rtf1 a{\pict\bin4 }{\}}b})") << u"ab"_qs;
    QTest::newRow("headers and footers skipped") << QByteArray(R"({\rtf1{\header H}{\footerr F}Text})") << u"Text"_qs;
    QTest::newRow("unknown starred destination skipped") << QByteArray(R"({\rtf1{\*\unknowndest x{y}}z})") << u"z"_qs;
    QTest::newRow("starred known word skipped too") << QByteArray(R"({\rtf1{\*\b hidden}shown})") << u"shown"_qs;
    QTest::newRow("unknown plain words ignored") << QByteArray(R"({\rtf1\nowidctlpar\lang1033 a\zzz b})") << u"ab"_qs;
    QTest::newRow("hidden text") << QByteArray(R"({\rtf1 a{\v secret}b})") << u"ab"_qs;
    QTest::newRow("field shows its result only")
        << QByteArray(R"({\rtf1{\field{\*\fldinst HYPERLINK "http://e.example"}{\fldrslt site}}})") << u"site"_qs;
    QTest::newRow("list marker text kept") << QByteArray(R"({\rtf1{\pntext\'b7\tab}{\*\pn\pnlvlblt}Item})")
                                           << u"·\tItem"_qs;

    // Malformed input
    QTest::newRow("unclosed groups") << QByteArray(R"({\rtf1 a{b{c)") << u"abc"_qs;
    QTest::newRow("document ends at its closing brace") << QByteArray(R"({\rtf1 a}b}c)") << u"a"_qs;
    QTest::newRow("truncated hex character") << QByteArray(R"({\rtf1 a\'4)") << u"a"_qs;
    QTest::newRow("invalid hex character") << QByteArray(R"({\rtf1 a\'zzb})") << u"azzb"_qs;
    QTest::newRow("truncated control word") << QByteArray(R"({\rtf1 a\)") << u"a"_qs;
    QTest::newRow("huge numbers")
        << QByteArray(R"({\rtf1\fs999999999999999999 a\u99999999999999?b\li-99999999999 c\f-999999999999 d})")
        << u"abcd"_qs;
    QTest::newRow("binary length beyond the end") << QByteArray(R"({\rtf1 a\bin999999 xyz)") << u"a"_qs;
    QTest::newRow("negative binary length") << QByteArray(R"({\rtf1 a\bin-5 b})") << u"ab"_qs;
    QTest::newRow("control bytes and nulls") << QByteArray("{\\rtf1 a\0\x01\x02\x7f" "b}", 14) << u"ab"_qs;
    QTest::newRow("moderate nesting read") << (QByteArray("{\\rtf1 ") + nested(100, "x") + "}") << u"x"_qs;
    QTest::newRow("very deep nesting skipped, structure kept")
        << (QByteArray("{\\rtf1 ") + nested(100000, "x") + "y}") << u"y"_qs;
    QTest::newRow("very long control word") << (QByteArray("{\\rtf1 \\") + QByteArray(100000, 'q') + " z}") << u"z"_qs;
    QTest::newRow("colour table junk") << QByteArray(R"({\rtf1{\colortbl;\red999\green-4\blue;;;}x})") << u"x"_qs;
}

void TestRtfReader::plainText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    bool ok = false;
    QCOMPARE(read(rtf, &ok), expected);
    QVERIFY(ok);
}

void TestRtfReader::notRtf_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("isRtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QByteArray() << false << QString();
    QTest::newRow("plain text") << QByteArray("hello {\\rtf1 x}") << false << QString();
    QTest::newRow("html") << QByteArray("<html><body>x</body></html>") << false << QString();
    QTest::newRow("brace but no rtf") << QByteArray("{\\rt1 x}") << false << QString();
    QTest::newRow("leading blank lines accepted") << QByteArray(" \r\n{\\rtf1 x}") << true << u"x"_qs;
    QTest::newRow("header only") << QByteArray("{\\rtf") << true << QString();
}

void TestRtfReader::notRtf()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, isRtf);
    QFETCH(QString, expected);

    QTextDocument document;
    document.setPlainText(u"earlier content"_qs);
    QCOMPARE(ReadRtfDocument(data, document), isRtf);
    QCOMPARE(document.toPlainText(), expected);
}

void TestRtfReader::characterFormat_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("marker");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<int>("underline"); // QTextCharFormat::UnderlineStyle
    QTest::addColumn<bool>("strike");
    QTest::addColumn<double>("pointSize");
    QTest::addColumn<QString>("family"); // empty: none set
    QTest::addColumn<QColor>("foreground"); // invalid: none set
    QTest::addColumn<QColor>("background");
    QTest::addColumn<int>("styleHint"); // QFont::AnyStyle: none set

    const int none = QTextCharFormat::NoUnderline;
    const int single = QTextCharFormat::SingleUnderline;
    const QString noFamily;
    const QColor noColour;
    const QByteArray head = R"({\rtf1\deff0{\fonttbl{\f0 Arial;}{\f1\froman Times New Roman;}})"
                            R"({\colortbl;\red255\green0\blue0;\red0\green128\blue0;})";

    QTest::newRow("bold on") << head + R"(\b X\b0 Y})" << "X" << true << false << none << false << 12.0 << "Arial" << noColour << noColour << int(QFont::AnyStyle);
    QTest::newRow("bold off with zero") << head + R"(\b X\b0 Y})" << "Y" << false << false << none << false << 12.0 << "Arial" << noColour << noColour << int(QFont::AnyStyle);
    QTest::newRow("group restores") << head + R"({\b\i\ul X}Y})" << "Y" << false << false << none << false << 12.0 << "Arial" << noColour << noColour << int(QFont::AnyStyle);
    QTest::newRow("italic underline strike") << head + R"(\i\ul\strike X})" << "X" << false << true << single << true << 12.0 << "Arial" << noColour << noColour << int(QFont::AnyStyle);
    QTest::newRow("ulnone ends underline") << head + R"(\ul\ulnone X})" << "X" << false << false << none << false << 12.0 << "Arial" << noColour << noColour << int(QFont::AnyStyle);
    QTest::newRow("dotted underline") << head + R"(\uld X})" << "X" << false << false << int(QTextCharFormat::DotLine) << false << 12.0 << "Arial" << noColour << noColour << int(QFont::AnyStyle);
    QTest::newRow("plain resets") << head + R"(\b\i\f1\fs40\cf1 a\plain X})" << "X" << false << false << none << false << 12.0 << "Arial" << noColour << noColour << int(QFont::AnyStyle);
    QTest::newRow("font and size") << head + R"(\f1\fs36 X})" << "X" << false << false << none << false << 18.0 << "Times New Roman" << noColour << noColour << int(QFont::Serif);
    QTest::newRow("odd half points") << head + R"(\fs17 X})" << "X" << false << false << none << false << 8.5 << "Arial" << noColour << noColour << int(QFont::AnyStyle);
    QTest::newRow("zero size is default") << head + R"(\fs0 X})" << "X" << false << false << none << false << 12.0 << "Arial" << noColour << noColour << int(QFont::AnyStyle);
    QTest::newRow("unknown font number") << head + R"(\f7 X})" << "X" << false << false << none << false << 12.0 << noFamily << noColour << noColour << int(QFont::AnyStyle);
    QTest::newRow("text colour") << head + R"(\cf2 X})" << "X" << false << false << none << false << 12.0 << "Arial" << QColor(0, 128, 0) << noColour << int(QFont::AnyStyle);
    QTest::newRow("automatic colour") << head + R"(\cf1 a\cf0 X})" << "X" << false << false << none << false << 12.0 << "Arial" << noColour << noColour << int(QFont::AnyStyle);
    QTest::newRow("colour beyond table") << head + R"(\cf9 X})" << "X" << false << false << none << false << 12.0 << "Arial" << noColour << noColour << int(QFont::AnyStyle);
    QTest::newRow("highlight") << head + R"(\highlight1 X})" << "X" << false << false << none << false << 12.0 << "Arial" << noColour << QColor(255, 0, 0) << int(QFont::AnyStyle);
    QTest::newRow("monospace family kind") << QByteArray(R"({\rtf1{\fonttbl{\f0\fmodern Consolas;}}\f0 X})") << "X" << false << false << none << false << 12.0 << "Consolas" << noColour << noColour << int(QFont::TypeWriter);
    QTest::newRow("no font table") << QByteArray(R"({\rtf1 X})") << "X" << false << false << none << false << 12.0 << noFamily << noColour << noColour << int(QFont::AnyStyle);
}

void TestRtfReader::characterFormat()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, marker);

    QTextDocument document;
    QVERIFY(ReadRtfDocument(rtf, document));
    const QTextCursor cursor = cursorAt(document, marker);
    QVERIFY2(!cursor.isNull(), qPrintable(document.toPlainText()));
    const QTextCharFormat format = cursor.charFormat();

    QTEST(format.fontWeight() >= QFont::Bold, "bold");
    QTEST(format.fontItalic(), "italic");
    QTEST(int(format.underlineStyle()), "underline");
    QTEST(format.fontStrikeOut(), "strike");
    QTEST(format.fontPointSize(), "pointSize");
    QTEST(format.fontFamilies().toStringList().value(0), "family");
    QFETCH(QColor, foreground);
    QFETCH(QColor, background);
    QCOMPARE(format.hasProperty(QTextFormat::ForegroundBrush), foreground.isValid());
    if (foreground.isValid())
        QCOMPARE(format.foreground().color(), foreground);
    QCOMPARE(format.hasProperty(QTextFormat::BackgroundBrush), background.isValid());
    if (background.isValid())
        QCOMPARE(format.background().color(), background);
    // The family's kind is set only where the font table names one.
    QTEST(format.hasProperty(QTextFormat::FontStyleHint) ? int(format.fontStyleHint()) : int(QFont::AnyStyle),
          "styleHint");
}

void TestRtfReader::paragraphFormat_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("marker");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("indent");
    QTest::addColumn<double>("right");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("bottom");

    const int left = Qt::AlignLeft;
    QTest::newRow("centred") << QByteArray(R"({\rtf1\qc X})") << "X" << int(Qt::AlignHCenter) << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("right") << QByteArray(R"({\rtf1\qr X})") << "X" << int(Qt::AlignRight) << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("justified") << QByteArray(R"({\rtf1\qj X})") << "X" << int(Qt::AlignJustify) << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("alignment carries to next paragraph") << QByteArray(R"({\rtf1\qc a\par X})") << "X" << int(Qt::AlignHCenter) << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("pard resets") << QByteArray(R"({\rtf1\qc\li720 a\par\pard X})") << "X" << left << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("set at paragraph end") << QByteArray(R"({\rtf1 X\qc\par b})") << "X" << int(Qt::AlignHCenter) << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("hanging indent in pixels") << QByteArray(R"({\rtf1\li720\fi-360\ri150 X})") << "X" << left << 48.0 << -24.0 << 10.0 << 0.0 << 0.0;
    QTest::newRow("first line never left of the margin") << QByteArray(R"({\rtf1\li150\fi-3000 X})") << "X" << left << 10.0 << -10.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("negative indents clamp") << QByteArray(R"({\rtf1\li-720\ri-99 X})") << "X" << left << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("space before and after") << QByteArray(R"({\rtf1\sb240\sa120 X})") << "X" << left << 0.0 << 0.0 << 0.0 << 16.0 << 8.0;
    QTest::newRow("huge indent clamps") << QByteArray(R"({\rtf1\li2147483647 X})") << "X" << left << 2112.0 << 0.0 << 0.0 << 0.0 << 0.0;
}

void TestRtfReader::paragraphFormat()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, marker);

    QTextDocument document;
    QVERIFY(ReadRtfDocument(rtf, document));
    const QTextCursor cursor = cursorAt(document, marker);
    QVERIFY(!cursor.isNull());
    const QTextBlockFormat format = cursor.blockFormat();
    QTEST(int(format.alignment() & Qt::AlignHorizontal_Mask), "alignment");
    QTEST(format.leftMargin(), "left");
    QTEST(format.textIndent(), "indent");
    QTEST(format.rightMargin(), "right");
    QTEST(format.topMargin(), "top");
    QTEST(format.bottomMargin(), "bottom");
}

void TestRtfReader::tabStops_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<double>("textAfterTab"); // pixels from the document's left edge
    QTest::addColumn<bool>("alignsWithNextLine");

    const QByteArray wrap = " text long enough to wrap onto a second line and a third one as well\\par}";
    QTest::newRow("hanging indent") << QByteArray(R"({\rtf1\li400\fi-260 X\tab)") + wrap << 400 / 15.0 << true;
    QTest::newRow("explicit stop") << QByteArray(R"({\rtf1\tx1440 a\tab b})") << 96.0 << false;
    QTest::newRow("explicit stop in an indented paragraph") << QByteArray(R"({\rtf1\li720\tx1440 a\tab b})") << 96.0 << false;
    QTest::newRow("explicit stop beyond the hanging indent")
        << QByteArray(R"({\rtf1\li300\fi-300\tx1500 aaaaaaaaa\tab b})") << 100.0 << false;
}

void TestRtfReader::tabStops()
{
    QFETCH(QByteArray, rtf);
    QFETCH(double, textAfterTab);
    QFETCH(bool, alignsWithNextLine);

    QTextDocument document;
    document.setDocumentMargin(0);
    document.setTextWidth(300);
    QVERIFY(ReadRtfDocument(rtf, document));
    (void)document.size(); // lays out

    const QTextBlock block = document.begin();
    const int tab = int(block.text().indexOf(u'\t'));
    QVERIFY(tab >= 0);
    const QTextLine first = block.layout()->lineForTextPosition(tab);
    QVERIFY(first.isValid());
    const qreal x = first.cursorToX(tab + 1);
    QVERIFY2(qAbs(x - textAfterTab) < 0.75, qPrintable(QString::number(x)));
    if (alignsWithNextLine) {
        QVERIFY(block.layout()->lineCount() > 1);
        QVERIFY(qAbs(block.layout()->lineAt(1).x() - x) < 0.75);
    }
}

void TestRtfReader::links_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("href"); // empty: the text is no link

    const auto field = [](const QByteArray &instruction) {
        return QByteArray(R"({\rtf1 before {\field{\*\fldinst{)") + instruction
            + R"(}}{\fldrslt{\ul Link}}} after})";
    };
    QTest::newRow("quoted address") << field(R"(HYPERLINK "https://quillmere.example/help")") << u"https://quillmere.example/help"_qs;
    QTest::newRow("unquoted address") << field(R"( HYPERLINK https://a.example )") << u"https://a.example"_qs;
    QTest::newRow("lower case keyword") << field(R"(hyperlink "mailto:x@y.example")") << u"mailto:x@y.example"_qs;
    QTest::newRow("address with place") << field(R"(HYPERLINK "https://a.example/p" \\l "part")") << u"https://a.example/p#part"_qs;
    QTest::newRow("place only") << field(R"(HYPERLINK \\l "options")") << u"#options"_qs;
    QTest::newRow("tooltip switch skipped") << field(R"(HYPERLINK \\o "tip" "https://b.example")") << u"https://b.example"_qs;
    QTest::newRow("other fields are no links") << field("PAGE") << QString();
    QTest::newRow("empty instruction") << field("") << QString();
    QTest::newRow("unterminated quote") << field(R"(HYPERLINK "https://c.example)") << u"https://c.example"_qs;
    QTest::newRow("instruction in pieces")
        << QByteArray(R"({\rtf1 {\field{\*\fldinst{HYPER}{LINK "https://d.example"}}{\fldrslt Link}}})")
        << u"https://d.example"_qs;
}

void TestRtfReader::links()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, href);

    QTextDocument document;
    QVERIFY(ReadRtfDocument(rtf, document));
    QVERIFY(document.toPlainText().contains(u"Link"_qs));
    const QTextCharFormat link = cursorAt(document, u"Link"_qs).charFormat();
    QCOMPARE(link.isAnchor(), !href.isEmpty());
    QCOMPARE(link.anchorHref(), href);
    // The link ends with the field: the text after it is plain again.
    const QTextCursor after = cursorAt(document, u"after"_qs);
    if (!after.isNull())
        QVERIFY(!after.charFormat().isAnchor());
}

void TestRtfReader::bookmarks()
{
    QTextDocument document;
    QVERIFY(ReadRtfDocument(QByteArray(R"({\rtf1 intro\par{\*\bkmkstart options}{\*\bkmkend options}Options\par})"), document));
    QCOMPARE(document.toPlainText(), u"intro\nOptions"_qs);
    const QTextCharFormat format = cursorAt(document, u"Options"_qs).charFormat();
    QCOMPARE(format.anchorNames(), QStringList{u"options"_qs});
    QVERIFY(!cursorAt(document, u"intro"_qs).charFormat().isAnchor());
}

void TestRtfReader::tables()
{
    const QByteArray rtf = R"({\rtf1{\colortbl;\red220\green232\blue247;}Before\par)"
                           R"(\trowd\clcbpat1\cellx1500\cellx4500 \pard\intbl\b A1\b0\cell A2\cell\row)"
                           R"(\trowd\cellx1500\cellx4500 \pard\intbl B1\cell B2\par more\cell\row)"
                           R"(\pard After\par})";
    QTextDocument document;
    QVERIFY(ReadRtfDocument(rtf, document));
    QCOMPARE(document.toPlainText(), u"Before\nA1\nA2\nB1\nB2\nmore\nAfter"_qs);

    QTextTable *table = cursorAt(document, u"A1"_qs).currentTable();
    QVERIFY(table);
    QCOMPARE(table->rows(), 2);
    QCOMPARE(table->columns(), 2);
    const auto cellText = [&](int row, int column) {
        QTextCursor cursor = table->cellAt(row, column).firstCursorPosition();
        cursor.setPosition(table->cellAt(row, column).lastCursorPosition().position(), QTextCursor::KeepAnchor);
        return cursor.selectedText();
    };
    QCOMPARE(cellText(0, 0), u"A1"_qs);
    QCOMPARE(cellText(1, 1), u"B2\u2029more"_qs);
    QVERIFY(cursorAt(document, u"A1"_qs).charFormat().fontWeight() >= QFont::Bold);
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    QCOMPARE(widths.size(), 2);
    QCOMPARE(widths.at(0).rawValue(), 100.0);
    QCOMPARE(widths.at(1).rawValue(), 200.0);
    // Shading belongs to the cells its row definition gives it.
    QCOMPARE(table->cellAt(0, 0).format().background().color(), QColor(220, 232, 247));
    QVERIFY(!table->cellAt(0, 1).format().hasProperty(QTextFormat::BackgroundBrush));
    QVERIFY(!table->cellAt(1, 0).format().hasProperty(QTextFormat::BackgroundBrush));
    QVERIFY(!cursorAt(document, u"Before"_qs).currentTable());
    QVERIFY(!cursorAt(document, u"After"_qs).currentTable());

    // More cells than the row defines: the table grows a column.
    QTextDocument wide;
    QVERIFY(ReadRtfDocument(QByteArray(R"({\rtf1\trowd\cellx1000\pard\intbl a\cell b\cell c\cell\row})"), wide));
    QTextTable *wideTable = cursorAt(wide, u"a"_qs).currentTable();
    QVERIFY(wideTable);
    QCOMPARE(wideTable->columns(), 3);
    QCOMPARE(cursorAt(wide, u"c"_qs).currentTable(), wideTable);

    // A cell end outside a table separates like a tab.
    QCOMPARE(read(R"({\rtf1 a\cell b})"), u"a\tb"_qs);
}

void TestRtfReader::fontCharsets_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    // The same bytes read in a font of each character set, in a document
    // whose own code page is another one.
    const auto inFont = [](const char *fontCharset, const QByteArray &bytes, const char *documentPage = "1251") {
        return QByteArray(R"({\rtf1\ansi\ansicpg)") + documentPage + R"({\fonttbl{\f0 Times;}{\f2)" + fontCharset
            + R"( Arial;}}\f2 )" + bytes + "}";
    };
    QTest::newRow("ANSI font in a Cyrillic document") << inFont(R"(\fcharset0)", R"(caf\'e9 \'80)") << u"café €"_qs;
    QTest::newRow("ANSI font without document code page")
        << QByteArray(R"({\rtf1\ansi{\fonttbl{\f2\fcharset0 Arial;}}\f2 \'e9})") << u"é"_qs;
    QTest::newRow("204 Cyrillic") << inFont(R"(\fcharset204)", R"(\'cf\'f0\'e8)", "1252") << u"При"_qs;
    QTest::newRow("238 Central European") << inFont(R"(\fcharset238)", R"(\'9a\'e8\'b3)") << u"ščł"_qs;
    QTest::newRow("161 Greek") << inFont(R"(\fcharset161)", R"(\'e1\'e2\'e3)") << u"αβγ"_qs;
    QTest::newRow("162 Turkish") << inFont(R"(\fcharset162)", R"(\'fe\'f0\'fd)") << u"şğı"_qs;
    QTest::newRow("177 Hebrew") << inFont(R"(\fcharset177)", R"(\'e0\'e1)") << u"אב"_qs;
    QTest::newRow("178 Arabic") << inFont(R"(\fcharset178)", R"(\'c7\'e1)") << u"ال"_qs;
    QTest::newRow("186 Baltic") << inFont(R"(\fcharset186)", R"(\'e0\'e8)") << u"ąč"_qs;
    QTest::newRow("222 Thai") << inFont(R"(\fcharset222)", R"(\'a1\'a2)") << u"กข"_qs;
    QTest::newRow("128 Shift-JIS") << inFont(R"(\fcharset128)", R"(\'82\'a0\'93\'fa)") << u"あ日"_qs;
    QTest::newRow("134 GBK") << inFont(R"(\fcharset134)", R"(\'c4\'e3\'ba\'c3)") << u"你好"_qs;
    QTest::newRow("129 Korean") << inFont(R"(\fcharset129)", R"(\'c7\'d1)") << u"한"_qs;
    QTest::newRow("136 Big5") << inFont(R"(\fcharset136)", R"(\'a4\'a4)") << u"中"_qs;
    QTest::newRow("2 symbol keeps its glyphs") << inFont(R"(\fcharset2)", R"(\'b7\'61)") << u"•a"_qs;
    QTest::newRow("1 default follows the document") << inFont(R"(\fcharset1)", R"(\'cf)") << u"П"_qs;
    QTest::newRow("unknown set follows the document") << inFont(R"(\fcharset99)", R"(\'cf)") << u"П"_qs;
    QTest::newRow("no set follows the document") << inFont("", R"(\'cf)") << u"П"_qs;
    QTest::newRow("code page named beside the set wins") << inFont(R"(\fcharset0\cpg1253)", R"(\'e1)") << u"α"_qs;
    QTest::newRow("default font's set applies without a font word")
        << QByteArray(R"({\rtf1\ansi\ansicpg1251\deff3{\fonttbl{\f3\fcharset0 Arial;}}\'e9})") << u"é"_qs;
    QTest::newRow("set changes with the font")
        << QByteArray(R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset204 B;}})"
                      R"(\f0\'e9{\f1\'e9}\'e9})")
        << u"éйé"_qs;
}

void TestRtfReader::fontCharsets()
{
    QFETCH(QByteArray, rtf);
    QTEST(read(rtf), "expected");
}

void TestRtfReader::caps_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("maxBlocks");     // the document's blocks, at most
    QTest::addColumn<int>("maxBlockLength"); // characters of its longest block, at most
    QTest::addColumn<QString>("start");      // the blocks begin so: what came before a cap stays

    const auto repeated = [](const QByteArray &head, const QByteArray &piece, int times, const QByteArray &tail) {
        QByteArray rtf = head;
        rtf.reserve(head.size() + piece.size() * times + tail.size());
        for (int i = 0; i < times; ++i)
            rtf += piece;
        return rtf + tail;
    };
    using namespace Rtf;
    // Besides its cells, a table at the start of a document has a block
    // before it and one after it.
    const int tableBlocks = kMaxTableCells + 2;

    QTest::newRow("paragraphs") << repeated("{\\rtf1 ", "p\\par ", kMaxBlocks + 5000, "}")
                                << kMaxBlocks + 1 << 1 << u"p\np"_qs;
    QTest::newRow("line breaks in one paragraph")
        << repeated("{\\rtf1 ", "a\\line ", kMaxParagraphCharacters, "}") << 1 << kMaxParagraphCharacters << u"a\u2028a"_qs;
    QTest::newRow("text in one paragraph")
        << repeated("{\\rtf1 ", "word {\\b bold} ", kMaxParagraphCharacters / 5, "}") << 1 << kMaxParagraphCharacters
        << u"word bold word"_qs;
    QTest::newRow("rows") << repeated("{\\rtf1 ", "\\trowd\\cellx900\\pard\\intbl r\\cell\\row\n", kMaxTableRows + 100, "}")
                          << kMaxTableRows + 2 << 1 << u"\nr\nr"_qs;
    QTest::newRow("cells") << repeated("{\\rtf1 ", "\\trowd\\cellx900\\cellx1800\\cellx2700\\cellx3600\\pard\\intbl"
                                                   " a\\cell b\\cell c\\cell d\\cell\\row\n",
                                       kMaxTableCells / 4 + 100, "}")
                           << tableBlocks << 1 << u"\na\nb\nc\nd\na"_qs;
    QTest::newRow("cells of one row beyond its columns")
        << repeated("{\\rtf1\\trowd\\cellx900\\pard\\intbl ", "xy\\cell ", 100000, "\\row}")
        << kMaxTableColumns + 2 << kMaxCellParagraphCharacters << u"\nxy\nxy"_qs;
    // A pair of surrogates is kept whole or left out whole at the cap.
    QTest::newRow("surrogate pair at the cap")
        << (QByteArray("{\\rtf1 ") + QByteArray(kMaxParagraphCharacters - 1, 'a') + "\\u-10179?\\u-8704?}")
        << 1 << kMaxParagraphCharacters - 1 << u"aaa"_qs;
}

void TestRtfReader::caps()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, maxBlocks);
    QFETCH(int, maxBlockLength);
    QFETCH(QString, start);

    QTextDocument document;
    QVERIFY(ReadRtfDocument(rtf, document));
    QVERIFY2(document.blockCount() <= maxBlocks, qPrintable(QString::number(document.blockCount())));
    // Close to the cap, not far below it: the caps are not hit early.
    QVERIFY2(document.blockCount() * 10 >= maxBlocks * 9, qPrintable(QString::number(document.blockCount())));
    int longest = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        longest = std::max(longest, block.length() - 1);
        const QString text = block.text();
        QVERIFY(text.isEmpty() || !text.back().isHighSurrogate());
    }
    QVERIFY2(longest <= maxBlockLength, qPrintable(QString::number(longest)));
    QVERIFY(read(rtf).startsWith(start));
}

void TestRtfReader::stopEndsTheRead()
{
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 50000; ++i)
        rtf += "line\\par ";
    rtf += "}";

    std::atomic<bool> stop{false};
    QTextDocument whole;
    QVERIFY(ReadRtfDocument(rtf, whole, &stop));
    QCOMPARE(whole.blockCount(), 50000);

    // Asked to stop, the reader ends within the first stretch of the input
    // and leaves a document that can be shown.
    stop = true;
    QTextDocument stopped;
    QVERIFY(ReadRtfDocument(rtf, stopped, &stop));
    QVERIFY2(stopped.blockCount() < 10000, qPrintable(QString::number(stopped.blockCount())));
    QVERIFY(stopped.size().height() >= 0);
}

void TestRtfReader::randomJunkInSkippedGroupStaysHidden()
{
    // Whatever a skipped destination holds, as long as its braces balance,
    // nothing of it shows and the text after it does.
    QRandomGenerator random(20240611);
    for (int round = 0; round < 300; ++round) {
        QByteArray junk(random.bounded(1, 400), Qt::Uninitialized);
        for (char &c : junk) {
            c = char(random.bounded(256));
            if (c == '{' || c == '}' || c == '\\')
                c = 'x';
        }
        const QByteArray rtf = "{\\rtf1 {\\*\\mystery " + junk + "}visible}";
        QCOMPARE(read(rtf), u"visible"_qs);
    }
}

void TestRtfReader::randomInputIsReadSafelyAndDeterministically()
{
    // Random streams of RTF pieces and raw bytes: each is read without
    // crashing, reads the same twice, lays out, and leaves no lone
    // surrogates or structure characters in the text.
    static const char *const pieces[] = {
        "{", "}", "{", "}", "\\par ", "\\pard", "\\b", "\\b0", "\\i", "\\ul", "\\fs48", "\\f1", "\\cf1",
        "\\u8364?", "\\u-10179?", "\\u-8704?", "\\uc2", "\\uc0", "\\'e9", "\\'9", "\\'", "\\*", "\\fonttbl",
        "{\\f1\\fcharset128 G;}", "\\colortbl;\\red1;", "\\field", "\\fldinst HYPERLINK \"h\"", "\\fldrslt",
        "\\trowd", "\\cellx1000", "\\intbl", "\\cell", "\\row", "\\line", "\\tab", "\\bin3 ", "\\bin",
        "\\pict", "\\v", "\\qc", "\\li-99999", "\\fi-720", "\\sl-240", "\\slmult1", "\\tx360", "\\plain",
        "\\ansicpg932", "\\ansicpg1251", "\\deff1", "text ", "\xe9\x93\xfa", "\\\\", "\\{", "\\}", "\\~",
        "\\bkmkstart", "\\nestcell", "\\rtlpar", "\\cbpat1", "\\highlight2", "\\99", "\\-", "\\\n",
    };
    constexpr int pieceCount = int(sizeof(pieces) / sizeof(pieces[0]));

    QRandomGenerator random(7357);
    for (int round = 0; round < 400; ++round) {
        QByteArray rtf = "{\\rtf1";
        const int length = random.bounded(1, 120);
        for (int i = 0; i < length; ++i) {
            if (random.bounded(5) == 0)
                rtf.append(char(random.bounded(256)));
            else
                rtf.append(pieces[random.bounded(pieceCount)]);
        }

        QTextDocument first;
        QTextDocument second;
        QVERIFY(ReadRtfDocument(rtf, first));
        QVERIFY(ReadRtfDocument(rtf, second));
        QCOMPARE(first.toHtml(), second.toHtml());
        QVERIFY(first.size().height() > 0);

        for (QTextBlock block = first.begin(); block.isValid(); block = block.next()) {
            const QString text = block.text();
            for (qsizetype i = 0; i < text.size(); ++i) {
                const QChar c = text.at(i);
                if (c.isHighSurrogate()) {
                    QVERIFY2(i + 1 < text.size() && text.at(i + 1).isLowSurrogate(), rtf.toHex().constData());
                    ++i;
                    continue;
                }
                QVERIFY2(!c.isLowSurrogate(), rtf.toHex().constData());
                QVERIFY2(c.unicode() >= 0x20 || c == u'\t', rtf.toHex().constData());
            }
        }
    }
}

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
