// Renaming rules: what each kind makes of names in each scope, rule lists
// chained, the checks that refuse a run before anything moves, presets, and
// runs that take the planned names.

#include "CaseBlindDrive.h"
#include "RuleBuilders.h"
#include "TempFolder.h"

#include "core/FolderHandle.h"
#include "rename/RenameRun.h"
#include "rename/rules/CleanUpRule.h"
#include "rename/rules/FileFacts.h"
#include "rename/rules/PresetFile.h"
#include "rename/rules/RulePlan.h"

#include <QDateTime>
#include <QFile>
#include <QtTest>

Q_DECLARE_METATYPE(RuleList)

namespace {

using namespace RuleBuilders;

// A JPEG file holding nothing but an Exif block whose DateTimeOriginal is
// `taken` ("YYYY:MM:DD HH:MM:SS"), as a camera writes it.
QByteArray jpegTakenAt(const QByteArray &taken)
{
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    const auto put16 = [&](quint16 v) { tiff.append(char(v & 0xff)).append(char(v >> 8)); };
    const auto put32 = [&](quint32 v) {
        for (int k = 0; k < 4; ++k)
            tiff.append(char((v >> (8 * k)) & 0xff));
    };
    // IFD0 at 8: one entry, the Exif IFD's offset (26).
    put16(1);
    put16(0x8769), put16(4), put32(1), put32(26);
    put32(0);
    // Exif IFD at 26: DateTimeOriginal, 20 ASCII bytes at 44.
    put16(1);
    put16(0x9003), put16(2), put32(20), put32(44);
    put32(0);
    tiff.append(taken).append('\0');
    QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(app1.size()) + 2;
    return QByteArray("\xff\xd8\xff\xe1", 4) + char(length >> 8) + char(length & 0xff) + app1
        + QByteArray("\xff\xd9", 2);
}

bool setModified(const QString &path, qint64 secondsSinceEpoch)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite)
        && file.setFileTime(QDateTime::fromSecsSinceEpoch(secondsSinceEpoch), QFileDevice::FileModificationTime);
}

// The names a plan gives the selected files of the folder, in list order.
QStringList planned(const TempFolder &folder, const QList<RenameEntry> &entries, const RuleList &list,
                    QString *refusal = nullptr, bool keepExisting = true)
{
    const FolderHandle handle(folder.path());
    const RulePlan plan = RulePlan::make(handle, entries, list, keepExisting, int(entries.size()));
    if (refusal)
        *refusal = plan.refusal();
    return plan.isRefused() ? QStringList() : *plan.names();
}

} // namespace

class TestRenameRules : public QObject
{
    Q_OBJECT

private slots:
    void namesUnderRules_data();
    void namesUnderRules();
    void windowsSafeNames_data();
    void windowsSafeNames();
    void refusedBeforeAnyMove_data();
    void refusedBeforeAnyMove();
    void numbersInFileOrder_data();
    void numbersInFileOrder();
    void ordersByDateTaken();
    void renumberingChains_data();
    void renumberingChains();
    void clashIgnoringCaseIsRefused();
    void presetRoundTrip();
    void damagedPresets_data();
    void damagedPresets();
};

void TestRenameRules::namesUnderRules_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<RuleList>("list");
    QTest::addColumn<QStringList>("expected");

    const QStringList photo{QStringLiteral("IMG_0001 beach.jpg")};
    QTest::newRow("groups and case escapes") << photo
        << rules({replace(QStringLiteral("IMG_(\\d+) (\\w+)"), QStringLiteral("\\U$2\\E-${1}"))})
        << QStringList{QStringLiteral("BEACH-0001.jpg")};
    QTest::newRow("named group, lower escape") << QStringList{QStringLiteral("2024-05 Trip.txt")}
        << rules({replace(QStringLiteral("(?<y>\\d{4})-(?<m>\\d\\d) (?<what>\\w+)"),
                          QStringLiteral("\\L${what}\\E_${m}_${y} $$"))})
        << QStringList{QStringLiteral("trip_05_2024 $.txt")};
    QTest::newRow("literal text, special characters")
        << QStringList{QStringLiteral("a+b (1).txt")}
        << rules({with(replace(QStringLiteral(" (1)"), QStringLiteral("$1")), [](R &r) { r.literal = true; })})
        << QStringList{QStringLiteral("a+b$1.txt")};
    QTest::newRow("ignore case, all") << QStringList{QStringLiteral("aXbxc.txt")}
        << rules({with(replace(QStringLiteral("x"), QStringLiteral("-")), [](R &r) { r.ignoreCase = true; })})
        << QStringList{QStringLiteral("a-b-c.txt")};
    QTest::newRow("first, last, nth") << QStringList{QStringLiteral("a1a2a3a.txt")}
        << rules({with(replace(QStringLiteral("a"), QStringLiteral("F")), [](R &r) { r.occurrence = R::Occurrence::First; }),
                  with(replace(QStringLiteral("a"), QStringLiteral("L")), [](R &r) { r.occurrence = R::Occurrence::Last; }),
                  with(replace(QStringLiteral("a"), QStringLiteral("N")), [](R &r) { r.occurrence = R::Occurrence::Nth; r.nth = 2; })})
        << QStringList{QStringLiteral("F1a2N3L.txt")};
    QTest::newRow("empty matches; an Nth past the last match")
        << QStringList{QStringLiteral("abc.txt"), QStringLiteral("a1a.txt")}
        << rules({replace(QStringLiteral("x*"), QStringLiteral("-")),
                  with(replace(QStringLiteral("a"), QStringLiteral("N")), [](R &r) { r.occurrence = R::Occurrence::Nth; r.nth = 3; }),
                  with(replace(QStringLiteral("\\d*$"), QStringLiteral("<$0>")), [](R &r) { r.occurrence = R::Occurrence::Last; })})
        << QStringList{QStringLiteral("-a-b-c-<>.txt"), QStringLiteral("-a-1-a-<>.txt")};
    // A leading "^" takes one match at most; an alternative, a "^" in a
    // group or a "^" as text do not.
    QTest::newRow("anchored at the start, and not") << QStringList{QStringLiteral("aaXa.txt")}
        << rules({replace(QStringLiteral("^a"), QStringLiteral("b")), replace(QStringLiteral("^b|a"), QStringLiteral("c")),
                  replace(QStringLiteral("(?:^)?X"), QStringLiteral("^")),
                  with(replace(QStringLiteral("^"), QStringLiteral("d")), [](R &r) { r.literal = true; }),
                  with(replace(QStringLiteral("^c"), QStringLiteral("e")), [](R &r) { r.occurrence = R::Occurrence::Last; })})
        << QStringList{QStringLiteral("ecdc.txt")};
    QTest::newRow("nth beyond the matches") << QStringList{QStringLiteral("a1a.txt")}
        << rules({with(replace(QStringLiteral("a"), QStringLiteral("N")), [](R &r) { r.occurrence = R::Occurrence::Nth; r.nth = 3; })})
        << QStringList{QStringLiteral("a1a.txt")};
    QTest::newRow("extension scope") << QStringList{QStringLiteral("photo.JPEG"), QStringLiteral("README")}
        << rules({with(replace(QStringLiteral("^jpe?g$"), QStringLiteral("jpg"), R::Scope::Extension),
                       [](R &r) { r.ignoreCase = true; })})
        << QStringList{QStringLiteral("photo.jpg"), QStringLiteral("README")};
    QTest::newRow("empty extension drops its dot") << QStringList{QStringLiteral("notes.bak")}
        << rules({replace(QStringLiteral("bak"), QString(), R::Scope::Extension)})
        << QStringList{QStringLiteral("notes")};
    QTest::newRow("several dots, stem and extension")
        << QStringList{QStringLiteral("archive.tar.gz"), QStringLiteral("v1.2.3.tar.xz")}
        << rules({caseRule(R::CaseForm::Upper), replace(QStringLiteral("\\."), QStringLiteral("_"))})
        << QStringList{QStringLiteral("ARCHIVE_TAR.gz"), QStringLiteral("V1_2_3_TAR.xz")};
    QTest::newRow("whole-name scope") << QStringList{QStringLiteral("a.b.c")}
        << rules({replace(QStringLiteral("\\."), QStringLiteral("-"), R::Scope::Name)})
        << QStringList{QStringLiteral("a-b-c")};
    QTest::newRow("hidden names have no extension")
        << QStringList{QStringLiteral(".bashrc"), QStringLiteral(".config.old")}
        << rules({caseRule(R::CaseForm::Upper), insert(QStringLiteral("x"), R::Place::End, 0, R::Scope::Extension)})
        << QStringList{QStringLiteral(".BASHRC.x"), QStringLiteral(".CONFIG.oldx")};
    QTest::newRow("extension given to a name without one") << QStringList{QStringLiteral("README")}
        << rules({insert(QStringLiteral("md"), R::Place::End, 0, R::Scope::Extension)})
        << QStringList{QStringLiteral("README.md")};
    QTest::newRow("non-ASCII case") << QStringList{QStringLiteral("ÉCOLE ÉTÉ.txt"), QStringLiteral("élan vital 𐐨.txt")}
        << rules({caseRule(R::CaseForm::Title)})
        << QStringList{QStringLiteral("École Été.txt"), QStringLiteral("Élan Vital 𐐀.txt")};
    QTest::newRow("title: ASCII after non-ASCII spaces and letters")
        << QStringList{QStringLiteral("ǆUNGLA\u00a0éTé dOS\tx.txt")} << rules({caseRule(R::CaseForm::Title)})
        << QStringList{QStringLiteral("ǅungla\u00a0Été Dos\tX.txt")};
    QTest::newRow("title: word starts, apostrophe")
        << QStringList{QStringLiteral("don't stop-me_now (live)[take.2] 3rd.mp3")}
        << rules({caseRule(R::CaseForm::Title)})
        << QStringList{QStringLiteral("Don't Stop-Me_Now (Live)[Take.2] 3rd.mp3")};
    QTest::newRow("sentence, lower without locale") << QStringList{QStringLiteral("12 HELLO wORLD.TXT"), QStringLiteral("TITLE.TXT")}
        << rules({caseRule(R::CaseForm::Sentence), caseRule(R::CaseForm::Lower, R::Scope::Extension)})
        << QStringList{QStringLiteral("12 Hello world.txt"), QStringLiteral("Title.txt")};
    QTest::newRow("remove first, last, between") << QStringList{QStringLiteral("2024_holiday [draft] v2.odt")}
        << rules({with(R(), [](R &r) { r.replaceForm = R::ReplaceForm::RemoveFirst; r.count = 5; }),
                  with(R(), [](R &r) { r.replaceForm = R::ReplaceForm::RemoveLast; r.count = 3; }),
                  with(R(), [](R &r) { r.replaceForm = R::ReplaceForm::RemoveBetween; r.find = QStringLiteral(" ["); r.endMarker = QStringLiteral("]"); })})
        << QStringList{QStringLiteral("holiday.odt")};
    QTest::newRow("number places") << QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}
        << rules({number(R::Place::Start, 1, 1, R::Width::Fixed, 2), number(R::Place::BeforeExtension, 10, -10),
                  number(R::Place::Position, 7, 1), with(number(R::Place::End, 1), [](R &r) { r.scope = R::Scope::Name; })})
        << QStringList{QStringLiteral("701a10.txt1"), QStringLiteral("802b0.txt2")};
    QTest::newRow("automatic width, negative step") << QStringList{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}
        << rules({number(R::Place::End, 1, -1, R::Width::Auto)})
        << QStringList{QStringLiteral("x001"), QStringLiteral("y000"), QStringLiteral("z-001")};
    QTest::newRow("template with tokens") << QStringList{QStringLiteral("a.JPG"), QStringLiteral("b.png")}
        << rules({insert(QStringLiteral("{name}-{ext}-{n}"), R::Place::Whole), clean(R::CleanUp::Nfc)})
        << QStringList{QStringLiteral("a-JPG-001.JPG"), QStringLiteral("b-png-002.png")};
    QTest::newRow("{n} left for a number rule") << QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}
        << rules({insert(QStringLiteral("shot {n} of {name}"), R::Place::Whole),
                  number(R::Place::Token, 5, 5, R::Width::Fixed, 2)})
        << QStringList{QStringLiteral("shot 05 of a.txt"), QStringLiteral("shot 10 of b.txt")};
    QTest::newRow("insert at a position past the end") << QStringList{QStringLiteral("ab.txt")}
        << rules({insert(QStringLiteral("-"), R::Place::Position, 1), insert(QStringLiteral("!"), R::Place::Position, 99),
                  insert(QStringLiteral(">"), R::Place::Start)})
        << QStringList{QStringLiteral(">a-b!.txt")};
    QTest::newRow("transliterate, collapse, underscores")
        << QStringList{QStringLiteral("Crème  brûlée\tà la Straße.txt")}
        << rules({clean(R::CleanUp::Ascii), clean(R::CleanUp::CollapseSpaces), clean(R::CleanUp::SpacesToUnderscores)})
        << QStringList{QStringLiteral("Creme_brulee_a_la_Strasse.txt")};
    QTest::newRow("underscores back, NFC") << QStringList{QStringLiteral("cafe\u0301_noir.txt")}
        << rules({clean(R::CleanUp::UnderscoresToSpaces), clean(R::CleanUp::Nfc)})
        << QStringList{QStringLiteral("caf\u00e9 noir.txt")};
    QTest::newRow("chained, one rule off")
        << QStringList{QStringLiteral("Track 7 - intro.MP3"), QStringLiteral("Track 12 - OUTRO.mp3")}
        << rules({replace(QStringLiteral("^Track (\\d+) - "), QString()), caseRule(R::CaseForm::Title),
                  with(caseRule(R::CaseForm::Upper), [](R &r) { r.enabled = false; }),
                  caseRule(R::CaseForm::Lower, R::Scope::Extension), number(R::Place::Start, 1, 1, R::Width::Fixed, 2),
                  insert(QStringLiteral(" "), R::Place::Position, 2)})
        << QStringList{QStringLiteral("01 Intro.mp3"), QStringLiteral("02 Outro.mp3")};
}

void TestRenameRules::namesUnderRules()
{
    QFETCH(QStringList, names);
    QFETCH(RuleList, list);
    QFETCH(QStringList, expected);
    TempFolder folder;
    QVERIFY(folder.writeNamed(names));
    QString refusal;
    QCOMPARE(planned(folder, selectAll(names), list, &refusal), expected);
    QCOMPARE(refusal, QString());
}

void TestRenameRules::windowsSafeNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("forbidden characters") << QStringLiteral("a<b>:c\"d/e\\f|g?h*.txt") << QStringLiteral("a_b__c_d_e_f_g_h_.txt");
    QTest::newRow("control characters") << QStringLiteral("a\tb\x01.txt") << QStringLiteral("a_b_.txt");
    QTest::newRow("trailing dots and spaces") << QStringLiteral("name. . ") << QStringLiteral("name");
    QTest::newRow("reserved with extension") << QStringLiteral("con.tar.gz") << QStringLiteral("con_.tar.gz");
    QTest::newRow("reserved alone") << QStringLiteral("LPT1") << QStringLiteral("LPT1_");
    QTest::newRow("not reserved") << QStringLiteral("COM10.txt") << QStringLiteral("COM10.txt");
    QTest::newRow("delete character") << QStringLiteral("a\x7f.txt") << QStringLiteral("a_.txt");
    QTest::newRow("three-letter name not reserved") << QStringLiteral("cox.txt") << QStringLiteral("cox.txt");
    QTest::newRow("255 bytes of three-byte characters kept")
        << QString(85, QChar(0x20ac)) << QString(85, QChar(0x20ac));
    QTest::newRow("four-byte characters never cut in two")
        << QString::fromUcs4(std::u32string(64, U'\U0001F600').data(), 64)
        << QString::fromUcs4(std::u32string(63, U'\U0001F600').data(), 63);
    QTest::newRow("lone surrogate written as one byte")
        << QString(254, u'a') + QChar(0xd800) << QString(254, u'a') + QChar(0xd800);
    QTest::newRow("cut to 255 bytes, extension kept")
        << QString(200, QChar(0xe9)) + QStringLiteral(".jpeg") << QString(125, QChar(0xe9)) + QStringLiteral(".jpeg");
}

void TestRenameRules::windowsSafeNames()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const QString safe = CleanUpRule::windowsSafe(name);
    QCOMPARE(safe, expected);
    QVERIFY(safe.toUtf8().size() <= 255);
}

void TestRenameRules::refusedBeforeAnyMove_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<RuleList>("list");
    QTest::addColumn<bool>("keepExisting");
    QTest::addColumn<QString>("refusalHolds");

    const QStringList names{QStringLiteral("a.txt"), QStringLiteral("b.txt")};
    QTest::newRow("does not compile") << names << rules({caseRule(R::CaseForm::Upper), replace(QStringLiteral("(a"), QString())})
                                      << true << QStringLiteral("rule 2 (replace): the expression \"(a\" does not compile");
    QTest::newRow("missing group") << names << rules({replace(QStringLiteral("(a)"), QStringLiteral("$2"))}) << true
                                   << QStringLiteral("group \"2\"");
    QTest::newRow("missing named group") << names << rules({replace(QStringLiteral("(?<x>a)"), QStringLiteral("${y}"))})
                                         << true << QStringLiteral("group \"y\"");
    QTest::newRow("match limit") << QStringList{QString(40, u'a') + u'b'}
                                 << rules({replace(QStringLiteral("(a|aa)+$"), QString())}) << true
                                 << QStringLiteral("rule 1 (replace): the expression ran past its match limit");
    QTest::newRow("unknown token") << names << rules({insert(QStringLiteral("{date}"), R::Place::Start)}) << true
                                   << QStringLiteral("unknown token {date}");
    QTest::newRow("two files, one name, replacing") << names << rules({insert(QStringLiteral("same"), R::Place::Whole)})
                                                    << false << QStringLiteral("\"a.txt\" and \"b.txt\" would both be renamed to \"same.txt\"");
}

void TestRenameRules::refusedBeforeAnyMove()
{
    QFETCH(QStringList, names);
    QFETCH(RuleList, list);
    QFETCH(bool, keepExisting);
    QFETCH(QString, refusalHolds);
    TempFolder folder;
    QVERIFY(folder.writeNamed(names));
    const auto before = FolderChecksums(folder.path());
    QString refusal;
    QCOMPARE(planned(folder, selectAll(names), list, &refusal, keepExisting), QStringList());
    QVERIFY2(refusal.contains(refusalHolds), qPrintable(refusal));
    QCOMPARE(FolderChecksums(folder.path()), before);
}

void TestRenameRules::numbersInFileOrder_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<QStringList>("expected");
    // Listed as the list shows them; modified times and sizes run another way.
    QTest::newRow("list") << int(R::Order::List) << false << QStringList{"1-file10", "2-File9", "3-file9b"};
    QTest::newRow("natural") << int(R::Order::Natural) << false << QStringList{"3-file10", "1-File9", "2-file9b"};
    QTest::newRow("name") << int(R::Order::Name) << false << QStringList{"1-file10", "2-File9", "3-file9b"};
    QTest::newRow("modified") << int(R::Order::Modified) << false << QStringList{"2-file10", "3-File9", "1-file9b"};
    QTest::newRow("modified, reversed") << int(R::Order::Modified) << true << QStringList{"2-file10", "1-File9", "3-file9b"};
    QTest::newRow("size") << int(R::Order::Size) << false << QStringList{"3-file10", "2-File9", "1-file9b"};
}

void TestRenameRules::numbersInFileOrder()
{
    QFETCH(int, order);
    QFETCH(bool, reverse);
    QFETCH(QStringList, expected);
    TempFolder folder;
    const QStringList names{QStringLiteral("file10"), QStringLiteral("File9"), QStringLiteral("file9b")};
    const qint64 times[] = {2000000000, 2000000100, 1000000000};
    const int sizes[] = {30, 20, 10};
    for (int k = 0; k < 3; ++k) {
        QVERIFY(folder.write(names[k], QByteArray(sizes[k], 'x')));
        QVERIFY(setModified(folder.filePath(names[k]), times[k]));
    }
    RenameRule rule = number(R::Place::Start);
    rule.order = R::Order(order);
    rule.reverse = reverse;
    QCOMPARE(planned(folder, selectAll(names), rules({rule, insert(QStringLiteral("-"), R::Place::Position, 1)})),
             expected);
}

void TestRenameRules::ordersByDateTaken()
{
    TempFolder folder;
    // Taken in the reverse order of their modified times; one holds no date.
    QVERIFY(folder.write(QStringLiteral("a.jpg"), jpegTakenAt("2021:05:03 10:00:00")));
    QVERIFY(folder.write(QStringLiteral("b.jpg"), jpegTakenAt("2019:12:31 23:59:59")));
    QVERIFY(folder.write(QStringLiteral("c.jpg"), QByteArray("\xff\xd8\xff\xd9", 4)));
    QVERIFY(setModified(folder.filePath(QStringLiteral("a.jpg")), 1000));
    QVERIFY(setModified(folder.filePath(QStringLiteral("b.jpg")), 2000));
    QVERIFY(setModified(folder.filePath(QStringLiteral("c.jpg")), 3000));
    const QList<RenameEntry> entries = selectAll({QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")});
    RenameRule byTaken = number(R::Place::Start);
    byTaken.order = R::Order::Taken;
    const FolderHandle handle(folder.path());
    const RulePlan plan = RulePlan::make(
        handle, entries, rules({byTaken, insert(QStringLiteral(" {taken:yyyy-MM-dd}"), R::Place::Position, 1)}), true, 3);
    QVERIFY2(!plan.isRefused(), qPrintable(plan.refusal()));
    const QString fallback = QDateTime::fromSecsSinceEpoch(3000).toString(QStringLiteral("yyyy-MM-dd"));
    QCOMPARE(*plan.names(), (QStringList{QStringLiteral("3 2021-05-03a.jpg"), QStringLiteral("2 2019-12-31b.jpg"),
                                         QStringLiteral("1 ") + fallback + QStringLiteral("c.jpg")}));
    QCOMPARE(plan.notes().size(), 1);
    QCOMPARE(plan.notes().constFirst().entry, 2);
}

void TestRenameRules::renumberingChains_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<RuleList>("list");
    QTest::addColumn<bool>("keepExisting");
    QTest::addColumn<QStringList>("expected");

    // Each new name is held by a selected file whose turn comes later.
    const QStringList down{QStringLiteral("03"), QStringLiteral("02"), QStringLiteral("01")};
    const RuleList downRules = rules({insert(QString(), R::Place::Whole), number(R::Place::End, 2, -1, R::Width::Fixed, 2)});
    QStringList up;
    for (int k = 4; k <= 13; ++k)
        up.append(QStringLiteral("file%1").arg(k));
    std::sort(up.begin(), up.end()); // list order: file10 ... file13, file4 ... file9
    RenameRule natural = number(R::Place::End, 1);
    natural.order = R::Order::Natural;
    const RuleList upRules = rules({replace(QStringLiteral("\\d+$"), QString()), natural});
    for (bool keep : {true, false}) {
        const char *mode = keep ? "keeping" : "replacing";
        QTest::addRow("03,02,01 to 02,01,00, %s", mode) << down << downRules << keep
                                                       << QStringList{"00", "01", "02"};
        QStringList renamedUp;
        for (int k = 1; k <= 10; ++k)
            renamedUp.append(QStringLiteral("file%1").arg(k));
        std::sort(renamedUp.begin(), renamedUp.end());
        QTest::addRow("file4..file13 to file1..file10, %s", mode) << up << upRules << keep << renamedUp;
    }
}

void TestRenameRules::renumberingChains()
{
    QFETCH(QStringList, names);
    QFETCH(RuleList, list);
    QFETCH(bool, keepExisting);
    QFETCH(QStringList, expected);
    TempFolder folder;
    QVERIFY(folder.writeNamed(names));
    const auto before = FolderChecksums(folder.path());
    const QList<RenameEntry> entries = selectAll(names);
    const FolderHandle handle(folder.path());
    const RulePlan plan = RulePlan::make(handle, entries, list, keepExisting, int(entries.size()));
    QVERIFY2(!plan.isRefused(), qPrintable(plan.refusal()));
    RenameRequest request;
    request.keepExisting = keepExisting;
    request.plannedNames = std::make_shared<const QStringList>(plan.arranged(*plan.names()));
    RenameRunTarget target;
    const RenameReport report = RunRename(FolderHandle(folder.path()), plan.arranged(entries), request, target);
    QVERIFY(report.leftInPlace.isEmpty());
    QCOMPARE(report.renamedCount(), names.size());
    // Every content is kept, each under the name the file got.
    const auto after = FolderChecksums(folder.path());
    QCOMPARE(after.size(), before.size());
    for (const RenamedFile &file : report.renamed)
        QCOMPARE(after.value(file.newName), before.value(file.oldName));
    QCOMPARE(folder.files(), expected);
}

void TestRenameRules::clashIgnoringCaseIsRefused()
{
    CaseBlindDrive drive;
    QString whyNot;
    if (!drive.start(8, &whyNot))
        QSKIP(qPrintable(whyNot));
    const QStringList names{QStringLiteral("a.txt"), QStringLiteral("b.txt")};
    for (const QString &name : names) {
        QFile file(drive.path() + u'/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(name.toUtf8()) > 0);
    }
    const FolderHandle handle(drive.path());
    QVERIFY(RulePlan::ignoresCase(handle, selectAll(names)));
    // "X.txt" and "x.txt" are one name here.
    const RuleList list = rules({replace(QStringLiteral("a"), QStringLiteral("X")), replace(QStringLiteral("b"), QStringLiteral("x"))});
    const RulePlan replacing = RulePlan::make(handle, selectAll(names), list, false, 2);
    QVERIFY2(replacing.refusal().contains(QStringLiteral("\"a.txt\" and \"b.txt\"")), qPrintable(replacing.refusal()));
    QVERIFY(!RulePlan::make(handle, selectAll(names), list, true, 2).isRefused());
}

void TestRenameRules::presetRoundTrip()
{
    RuleList list = rules({with(replace(QStringLiteral("(\\d+) = x "), QStringLiteral("\\U$1 ")), [](R &r) {
                               r.ignoreCase = true;
                               r.occurrence = R::Occurrence::Nth;
                               r.nth = 3;
                           }),
                           caseRule(R::CaseForm::Title, R::Scope::Name),
                           with(number(R::Place::Position, -5, -2, R::Width::Fixed, 4), [](R &r) {
                               r.position = 3;
                               r.order = R::Order::Taken;
                               r.reverse = true;
                           }),
                           insert(QStringLiteral("{mtime:yyyy} "), R::Place::Start),
                           with(clean(R::CleanUp::Ascii), [](R &r) { r.enabled = false; })});
    TempFolder folder;
    const QString path = folder.filePath(QStringLiteral("sub/mine.rules"));
    QString error;
    QVERIFY2(PresetFile::write(path, list, &error), qPrintable(error));
    RuleList read;
    QVERIFY2(PresetFile::read(path, &read, &error), qPrintable(error));
    // Read back as written, settings of other kinds aside.
    QCOMPARE(read.size(), list.size());
    QCOMPARE(PresetFile::format(read), PresetFile::format(list));
    QCOMPARE(read.rules().at(0).find, list.rules().at(0).find);
    QCOMPARE(read.rules().at(2).start, -5);
    QVERIFY(!read.rules().at(4).enabled);
}

void TestRenameRules::damagedPresets_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("errorHolds");
    QTest::newRow("no version line") << QStringLiteral("[rule]\nkind = case\n") << QStringLiteral("line 1: this is no rule preset");
    QTest::newRow("newer version") << QStringLiteral("# mine\nquillmere-rules 2\n[rule]\n") << QStringLiteral("line 2: the preset is of version 2");
    QTest::newRow("unknown key") << QStringLiteral("quillmere-rules 1\n[rule]\nkind = case\ncolour = red\n")
                                 << QStringLiteral("line 4: unknown key \"colour\"");
    QTest::newRow("bad word") << QStringLiteral("quillmere-rules 1\n\n[rule]\ncase = shouting\n")
                              << QStringLiteral("line 4: \"shouting\" is not one of lower, upper, title or sentence");
    QTest::newRow("bad number") << QStringLiteral("quillmere-rules 1\n[rule]\nstart = 1x\n") << QStringLiteral("line 3: \"1x\" is no whole number");
    QTest::newRow("setting before a rule") << QStringLiteral("quillmere-rules 1\nkind = case\n") << QStringLiteral("line 2: a setting before");
    QTest::newRow("line without key") << QStringLiteral("quillmere-rules 1\n[rule]\njunk\n") << QStringLiteral("line 3: a line must be");
    QTest::newRow("empty") << QStringLiteral("# nothing\n") << QStringLiteral("the preset is empty");
}

void TestRenameRules::damagedPresets()
{
    QFETCH(QString, text);
    QFETCH(QString, errorHolds);
    RuleList list = rules({caseRule(R::CaseForm::Upper)});
    const RuleList before = list;
    QString error;
    QVERIFY(!PresetFile::parse(text, QStringLiteral("p.rules"), &list, &error));
    QVERIFY2(error.startsWith(QStringLiteral("p.rules")) && error.contains(errorHolds), qPrintable(error));
    QCOMPARE(list, before);
}

QTEST_GUILESS_MAIN(TestRenameRules)
#include "tst_renamerules.moc"
