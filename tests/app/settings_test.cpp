// The settings file: preparing it, reading and writing keys with the
// private-profile rules, and the options read from it.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <climits>

#include "app/SettingsKeys.h"
#include "app/basAPIini.h"
#include "app/basDefault.h"

namespace {

using basAPIini::IniState;

// Each test runs with its own program folder (TOVA_HOME) and settings state.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        qputenv("TOVA_HOME", home_.path().toUtf8());
    }
    void TearDown() override { qunsetenv("TOVA_HOME"); }

    QString inHome(const QString& name) const { return home_.path() + u'/' + name; }

    static void writeBytes(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    static QByteArray readBytes(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray("<unreadable>");
        return file.readAll();
    }
    // A settings file in the program folder holding the bytes; its absolute name.
    QString iniWith(const QByteArray& bytes) {
        const QString path = inHome(QStringLiteral("TOVA.ini"));
        writeBytes(path, bytes);
        return path;
    }
    static void makeReadOnly(const QString& path) {
        ASSERT_TRUE(QFile::setPermissions(
            path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    }
    QStringList homeEntries() const {
        return QDir(home_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir home_;
    IniState state_;
};

// ---------------------------------------------------------------- prepare

// An empty name is left empty, creates nothing and leaves the flag as it was.
TEST_F(SettingsTest, PrepareEmptyNameDoesNothing) {
    for (const bool bBefore : {false, true}) {
        state_.bWritable = bBefore;
        QString name;
        basAPIini::pu_subPrepareIniFile(state_, name);
        EXPECT_TRUE(name.isEmpty());
        EXPECT_EQ(state_.bWritable, bBefore);
    }
    EXPECT_TRUE(homeEntries().isEmpty());
}

// A bare name is replaced by the name in the program folder; the file is made.
TEST_F(SettingsTest, PrepareBareNameGoesToProgramFolder) {
    QString name = QStringLiteral("TOVA.ini");
    basAPIini::pu_subPrepareIniFile(state_, name);
    EXPECT_EQ(name, inHome(QStringLiteral("TOVA.ini")));
    EXPECT_TRUE(QFileInfo(name).isFile());
    EXPECT_EQ(QFileInfo(name).size(), 0);
    EXPECT_TRUE(state_.bWritable);
}

// A relative name with folders is also put under the program folder.
TEST_F(SettingsTest, PrepareRelativeNameGoesToProgramFolder) {
    ASSERT_TRUE(QDir(home_.path()).mkdir(QStringLiteral("conf")));
    QString name = QStringLiteral("conf/other.ini");
    basAPIini::pu_subPrepareIniFile(state_, name);
    EXPECT_EQ(name, inHome(QStringLiteral("conf/other.ini")));
    EXPECT_TRUE(QFileInfo::exists(name));
}

// An absolute name is used unchanged, wherever it points.
TEST_F(SettingsTest, PrepareAbsoluteNameUnchanged) {
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString absolute = elsewhere.path() + QStringLiteral("/my.ini");
    QString name = absolute;
    basAPIini::pu_subPrepareIniFile(state_, name);
    EXPECT_EQ(name, absolute);
    EXPECT_TRUE(QFileInfo::exists(absolute));
    EXPECT_TRUE(homeEntries().isEmpty());
}

// The Windows forms "X:\..." and "\\server\..." count as absolute; other names do not.
TEST_F(SettingsTest, AbsoluteNameForms) {
    struct Case {
        const char* name;
        bool bAbsolute;
    };
    const Case cases[] = {{"/etc/TOVA.ini", true},
                          {"C:\\TOVA\\TOVA.ini", true},
                          {"d:/tova/TOVA.ini", true},
                          {"\\\\server\\share\\TOVA.ini", true},
                          {"TOVA.ini", false},
                          {"conf/TOVA.ini", false},
                          {"C:TOVA.ini", false},
                          {"1:\\TOVA.ini", false},
                          {"", false}};
    for (const Case& c : cases) {
        EXPECT_EQ(basAPIini::pu_fun_bIsAbsoluteName(QString::fromUtf8(c.name)), c.bAbsolute)
            << c.name;
    }
}

// A drive-letter name is not prefixed by prepare (here it lands in the working folder).
TEST_F(SettingsTest, PrepareDriveLetterNameUnchanged) {
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.path()));
    QString name = QStringLiteral("C:\\TOVA\\TOVA.ini");
    basAPIini::pu_subPrepareIniFile(state_, name);
    QDir::setCurrent(before);
    EXPECT_EQ(name, QStringLiteral("C:\\TOVA\\TOVA.ini"));
    EXPECT_TRUE(homeEntries().isEmpty());
}

// An existing file sets the flag from its read-only attribute, each prepare anew.
TEST_F(SettingsTest, PrepareExistingFileFollowsReadOnlyAttribute) {
    const QString writable = inHome(QStringLiteral("a.ini"));
    const QString readOnly = inHome(QStringLiteral("b.ini"));
    writeBytes(writable, "[Option]\n");
    writeBytes(readOnly, "[Option]\n");
    makeReadOnly(readOnly);

    QString name = writable;
    basAPIini::pu_subPrepareIniFile(state_, name);
    EXPECT_TRUE(state_.bWritable);
    name = readOnly;
    basAPIini::pu_subPrepareIniFile(state_, name);
    EXPECT_FALSE(state_.bWritable);
    name = writable;
    basAPIini::pu_subPrepareIniFile(state_, name);
    EXPECT_TRUE(state_.bWritable);
}

// A missing file on a fixed disk sets the flag; elsewhere the flag keeps its value.
TEST_F(SettingsTest, PrepareMissingFileDriveRule) {
    QString name = QStringLiteral("fixed.ini");
    basAPIini::pu_subPrepareIniFile(state_, name);
    EXPECT_TRUE(state_.bWritable);

    IniState offFixed;
    offFixed.isFixedDisk = [](const QString&) { return false; };
    for (const bool bBefore : {false, true}) {
        offFixed.bWritable = bBefore;
        offFixed.sCreatedOffFixedDisk.clear();
        QString other = bBefore ? QStringLiteral("was_true.ini") : QStringLiteral("was_false.ini");
        basAPIini::pu_subPrepareIniFile(offFixed, other);
        EXPECT_EQ(offFixed.bWritable, bBefore);
        EXPECT_TRUE(QFileInfo(other).isFile());
    }
}

// A file that cannot be created is never writable, even on a fixed disk.
TEST_F(SettingsTest, PrepareUncreatableFileNotWritable) {
    state_.bWritable = true;
    QString name = QStringLiteral("no_such_folder/TOVA.ini");
    basAPIini::pu_subPrepareIniFile(state_, name);
    EXPECT_FALSE(state_.bWritable);
    EXPECT_FALSE(QFileInfo::exists(name));

    ASSERT_TRUE(QDir(home_.path()).mkdir(QStringLiteral("dir.ini")));
    state_.bWritable = true;
    name = QStringLiteral("dir.ini");
    basAPIini::pu_subPrepareIniFile(state_, name);
    EXPECT_FALSE(state_.bWritable);
}

// The program's own temporary folder is a fixed disk; a missing folder is not.
TEST_F(SettingsTest, FixedDiskProbe) {
    EXPECT_TRUE(basAPIini::pu_fun_bIsFixedDisk(home_.path()));
    EXPECT_FALSE(basAPIini::pu_fun_bIsFixedDisk(inHome(QStringLiteral("missing/deeper"))));
}

// ---------------------------------------------------------------- reading

// First use without a file: the file is created empty and every key reads its default.
TEST_F(SettingsTest, FirstUseEveryKeyDefault) {
    const QString name = QStringLiteral("TOVA.ini");
    for (const SettingsKeys::NumberKey& key : SettingsKeys::allNumberKeys) {
        const int slots = key.bPerSlot ? SettingsKeys::kScriptSlots : 1;
        for (int slot = 0; slot < slots; ++slot) {
            EXPECT_EQ(basAPIini::pu_fun_lnReadIni(state_, name, key, slot), key.lnDefault)
                << SettingsKeys::keyName(key, slot).toStdString();
        }
    }
    for (const SettingsKeys::TextKey& key : SettingsKeys::allTextKeys) {
        const int slots = key.bPerSlot ? SettingsKeys::kScriptSlots : 1;
        for (int slot = 0; slot < slots; ++slot) {
            EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, key, slot), QString(key.sDefault))
                << SettingsKeys::keyName(key, slot).toStdString();
        }
    }
    EXPECT_EQ(readBytes(inHome(name)), QByteArray());
    EXPECT_TRUE(state_.bWritable);
}

// The defaults of the table are those the program relies on.
TEST(SettingsKeysTable, Defaults) {
    namespace K = SettingsKeys;
    EXPECT_EQ(QString(K::Option::delimiter.sDefault), QStringLiteral("-"));
    EXPECT_EQ(K::Option::SmallViewClass.lnDefault, 1);
    EXPECT_EQ(K::Option::EscALLView.lnDefault, 1);
    EXPECT_EQ(K::Option::AutoHide.lnDefault, 1);
    EXPECT_EQ(K::Option::ChkONOFFDetail.lnDefault, 0);
    EXPECT_EQ(QString(K::Script::TxtScriptKeyword.sDefault), QStringLiteral("<LAYER>"));
    EXPECT_EQ(QString(K::Script::TxtDWGName.sDefault), QStringLiteral("<DWGNAME>"));
    EXPECT_EQ(QString(K::Script::TxtDWGPath.sDefault), QStringLiteral("<DWGPATH>"));
    EXPECT_EQ(K::keyName(K::Script::TxtScriptKeyword, 3), QStringLiteral("TxtScriptKeyword3"));
    EXPECT_EQ(K::keyName(K::FormView::SSTab1, 3), QStringLiteral("SSTab1"));
}

// A key present with an empty value reads empty, not the default; others keep theirs.
TEST_F(SettingsTest, PresentEmptyValueReadsEmpty) {
    const QString name = iniWith(
        "[Script]\n"
        "TxtScriptKeyword3=\n"
        "TxtScriptKeyword4=   \n"
        "TxtScriptKeyword5=<NAME>\n"
        "ChkScript3=\n");
    namespace S = SettingsKeys::Script;
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, S::TxtScriptKeyword, 3), QString());
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, S::TxtScriptKeyword, 4), QString());
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, S::TxtScriptKeyword, 5),
              QStringLiteral("<NAME>"));
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, S::TxtScriptKeyword, 2),
              QStringLiteral("<LAYER>"));
    EXPECT_EQ(basAPIini::pu_fun_lnReadIni(state_, name, QStringLiteral("Script"),
                                          QStringLiteral("ChkScript3"), 9),
              0);
}

// A text longer than 254 characters is cut to its first 254; shorter ones are whole.
TEST_F(SettingsTest, LongTextCutTo254) {
    QString longValue;
    for (int i = 0; i < 300; ++i)
        longValue += QChar(u'a' + i % 26);
    const QString exact = longValue.left(254);
    const QString name = iniWith("[Script]\nTxtScriptFile0=" + longValue.toUtf8() +
                                 "\nTxtScriptFile1=" + exact.toUtf8() +
                                 "\nTxtScriptFile2=" + exact.left(253).toUtf8() + "\n");
    namespace S = SettingsKeys::Script;
    const QString read = basAPIini::pu_fun_sReadIni(state_, name, S::TxtScriptFile, 0);
    EXPECT_EQ(read.size(), 254);
    EXPECT_EQ(read, exact);
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, S::TxtScriptFile, 1), exact);
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, S::TxtScriptFile, 2), exact.left(253));
}

// The cut never splits a character outside the basic plane; Japanese text counts per character.
TEST_F(SettingsTest, LongTextCutKeepsWholeCharacters) {
    const QString clef = QString::fromUcs4(U"\U0001D11E");  // two UTF-16 units
    const QString straddling = QString(253, u'x') + clef + QStringLiteral("yy");
    const QString japanese = QString(300, QChar(0x753B));  // 画
    const QString name = iniWith("[Script]\nTxtScriptName0=" + straddling.toUtf8() +
                                 "\nTxtScriptName1=" + japanese.toUtf8() + "\n");
    namespace S = SettingsKeys::Script;
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, S::TxtScriptName, 0), QString(253, u'x'));
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, S::TxtScriptName, 1), japanese.left(254));
}

// A text ends at its first NUL, and spaces left before it are removed.
TEST_F(SettingsTest, TextCutAtNul) {
    static const char kBytes[] = "[Option]\ndelimiter=ab\0cd\nother=x \0 y\n";
    const QString name = iniWith(QByteArray(kBytes, sizeof(kBytes) - 1));
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, QStringLiteral("Option"),
                                         QStringLiteral("delimiter"), QStringLiteral("-")),
              QStringLiteral("ab"));
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, QStringLiteral("Option"),
                                         QStringLiteral("other"), QStringLiteral("-")),
              QStringLiteral("x"));
}

// Blanks around names and values are ignored; inner and ideographic spaces stay.
TEST_F(SettingsTest, TextTrimmed) {
    const QString name = iniWith(
        "[ Script ]\n"
        "  TxtScriptName0 =   two  words  \n"
        "TxtScriptName1=\t tabbed\t\n"
        "TxtScriptName2=\xE3\x80\x80wide\xE3\x80\x80\n");
    namespace S = SettingsKeys::Script;
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, S::TxtScriptName, 0),
              QStringLiteral("two  words"));
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, S::TxtScriptName, 1),
              QStringLiteral("tabbed"));
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, S::TxtScriptName, 2),
              QString(QChar(0x3000)) + QStringLiteral("wide") + QChar(0x3000));
}

// Whole numbers: the leading integer of the value, 0 for garbage, the default when missing.
TEST_F(SettingsTest, NumberReading) {
    const QString name = iniWith(
        "[FormView]\n"
        "height=4890\n"
        "top=-150\n"
        "left= 42px\n"
        "SSTab1=abc\n"
        "empty=\n"
        "plus=+7\n"
        "huge=99999999999\n"
        "tiny=-99999999999\n"
        "spaced=1 2\n");
    const QString section = QStringLiteral("FormView");
    struct Case {
        const char* key;
        int expected;
    };
    const Case cases[] = {{"height", 4890}, {"top", -150},  {"left", 42},      {"SSTab1", 0},
                          {"empty", 0},     {"plus", 7},    {"huge", INT_MAX}, {"tiny", INT_MIN},
                          {"spaced", 1},    {"missing", 31}};
    for (const Case& c : cases) {
        EXPECT_EQ(basAPIini::pu_fun_lnReadIni(state_, name, section, QString::fromUtf8(c.key), 31),
                  c.expected)
            << c.key;
    }
    EXPECT_EQ(basAPIini::pu_fun_lnReadIni(state_, name, QStringLiteral("Nowhere"),
                                          QStringLiteral("height"), -5),
              -5);
}

// Section and key names match without regard to case; the first section and key win.
TEST_F(SettingsTest, NamesCaseInsensitiveFirstWins) {
    const QString name = iniWith(
        "stray=outside\n"
        "[OPTION]\n"
        "; delimiter=comment\n"
        "DeLiMiTeR=_\n"
        "delimiter=second\n"
        "[script]\n"
        "txtdwgname=<N>\n"
        "[option]\n"
        "AutoHide=0\n");
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, SettingsKeys::Option::delimiter),
              QStringLiteral("_"));
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, SettingsKeys::Script::TxtDWGName),
              QStringLiteral("<N>"));
    // Only the first section of a name is read, and a key outside any section belongs to none.
    EXPECT_EQ(basAPIini::pu_fun_lnReadIni(state_, name, SettingsKeys::Option::AutoHide), 1);
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, QStringLiteral("Option"),
                                         QStringLiteral("stray"), QStringLiteral("none")),
              QStringLiteral("none"));
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, QStringLiteral("Option"),
                                         QStringLiteral("; delimiter"), QStringLiteral("none")),
              QStringLiteral("none"));
}

// Windows line ends and a UTF-8 mark do not become part of names or values.
TEST_F(SettingsTest, CrLfAndByteOrderMark) {
    const QString name = iniWith("\xEF\xBB\xBF[Option]\r\ndelimiter=\\s\r\nAutoHide=0\r\n");
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, SettingsKeys::Option::delimiter),
              QStringLiteral("\\s"));
    EXPECT_EQ(basAPIini::pu_fun_lnReadIni(state_, name, SettingsKeys::Option::AutoHide), 0);
    // Past the file's start a U+FEFF is a character of the key like any other.
    const QString key = QStringLiteral("\uFEFFkey");
    basAPIini::pu_subWriteIni(state_, name, QStringLiteral("Option"), key, QStringLiteral("v"));
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, QStringLiteral("Option"), key, QString()),
              QStringLiteral("v"));
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, QStringLiteral("Option"),
                                         QStringLiteral("key"), QStringLiteral("none")),
              QStringLiteral("none"));
}

// ---------------------------------------------------------------- writing

// A write to a missing file creates it with the section and the key.
TEST_F(SettingsTest, WriteCreatesFile) {
    basAPIini::pu_subWriteIni(state_, QStringLiteral("TOVA.ini"), SettingsKeys::FormView::top,
                              1200);
    EXPECT_EQ(readBytes(inHome(QStringLiteral("TOVA.ini"))), QByteArray("[FormView]\ntop=1200\n"));
    EXPECT_EQ(basAPIini::pu_fun_lnReadIni(state_, QStringLiteral("TOVA.ini"),
                                          SettingsKeys::FormView::top),
              1200);
}

// A write changes one line or adds one; every other line stays byte for byte.
TEST_F(SettingsTest, WriteKeepsOtherLines) {
    const QByteArray before =
        "; TOVA settings, edited by hand\n"
        "[FormView]\n"
        "  height = 900 \n"
        "odd line without equals\n"
        "top=10\n"
        "\n"
        "; the options follow\n"
        "[Option]\n"
        "delimiter=-\n"
        "# shell-style note \xff\xfe kept raw\n"
        "[Script]\n"
        "ChkAppPath=1";  // no line break at the end
    const QString name = iniWith(before);

    basAPIini::pu_subWriteIni(state_, name, SettingsKeys::FormView::height, 4890);
    basAPIini::pu_subWriteIni(state_, name, SettingsKeys::FormView::SSTab1, 2);
    basAPIini::pu_subWriteIni(state_, name, SettingsKeys::Script::TxtScriptName,
                              QStringLiteral("描画"), 0);
    basAPIini::pu_subWriteIni(state_, name, QStringLiteral("Extra"), QStringLiteral("k"),
                              QStringLiteral("v"));
    const QByteArray expected =
        "; TOVA settings, edited by hand\n"
        "[FormView]\n"
        "height=4890\n"
        "odd line without equals\n"
        "top=10\n"
        "SSTab1=2\n"
        "\n"
        "; the options follow\n"
        "[Option]\n"
        "delimiter=-\n"
        "# shell-style note \xff\xfe kept raw\n"
        "[Script]\n"
        "ChkAppPath=1\n"
        "TxtScriptName0=\xE6\x8F\x8F\xE7\x94\xBB\n"
        "\n"
        "[Extra]\n"
        "k=v\n";
    EXPECT_EQ(readBytes(name), expected);
}

// Writing under other letter cases updates the existing line, keeping the file's spelling.
TEST_F(SettingsTest, WriteCaseInsensitive) {
    const QString name = iniWith("[option]\nDELIMITER=-\nautohide=1\n");
    basAPIini::pu_subWriteIni(state_, name, QStringLiteral("OPTION"), QStringLiteral("Delimiter"),
                              QStringLiteral("_"));
    basAPIini::pu_subWriteIni(state_, name, SettingsKeys::Option::AutoHide, 0);
    EXPECT_EQ(readBytes(name), QByteArray("[option]\nDELIMITER=_\nautohide=0\n"));
}

// A file with Windows line ends keeps them, also on the lines it gains.
TEST_F(SettingsTest, WriteKeepsCrLf) {
    const QString name = iniWith("[Option]\r\ndelimiter=-\r\n");
    basAPIini::pu_subWriteIni(state_, name, SettingsKeys::Option::delimiter, QStringLiteral("_"));
    basAPIini::pu_subWriteIni(state_, name, SettingsKeys::Option::AutoHide, 0);
    basAPIini::pu_subWriteIni(state_, name, SettingsKeys::FormView::top, 5);
    EXPECT_EQ(readBytes(name), QByteArray("[Option]\r\ndelimiter=_\r\nAutoHide=0\r\n\r\n"
                                          "[FormView]\r\ntop=5\r\n"));
}

// A value can never add lines: its line breaks are written as spaces.
TEST_F(SettingsTest, WriteValueWithLineBreaks) {
    const QString name = iniWith("[Script]\n");
    basAPIini::pu_subWriteIni(state_, name, SettingsKeys::Script::TxtScriptName,
                              QStringLiteral("a\r\n[Option]\ndelimiter=*"), 1);
    EXPECT_EQ(readBytes(name), QByteArray("[Script]\nTxtScriptName1=a  [Option] delimiter=*\n"));
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, SettingsKeys::Option::delimiter),
              QStringLiteral("-"));
}

// The replaced file keeps its permissions and no temporary file is left beside it.
TEST_F(SettingsTest, WriteIsAtomicReplace) {
    const QString name = iniWith("[Option]\ndelimiter=-\n");
    const QFileDevice::Permissions perms =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(name, perms));
    basAPIini::pu_subWriteIni(state_, name, SettingsKeys::Option::delimiter, QStringLiteral("+"));
    EXPECT_EQ(readBytes(name), QByteArray("[Option]\ndelimiter=+\n"));
    // Owner, group and other bits; the "user" bits describe the caller, not the file.
    const int kFileBits = 0x7077;
    EXPECT_EQ(int(QFile::permissions(name)) & kFileBits, int(perms) & kFileBits);
    EXPECT_EQ(homeEntries(), QStringList{QStringLiteral("TOVA.ini")});
}

// A read-only file: every read works, every write is skipped, the file stays as it was.
TEST_F(SettingsTest, ReadOnlyFileReadNotWritten) {
    const QByteArray before =
        "[FormView]\nheight=1910\n[Option]\ndelimiter=_\nAutoHide=0\n"
        "[Script]\nTxtScriptKeyword3=<L3>\n";
    const QString name = iniWith(before);
    makeReadOnly(name);

    basAPIini::pu_subWriteIni(state_, name, SettingsKeys::FormView::height, 900);
    basAPIini::pu_subWriteIni(state_, name, SettingsKeys::Option::delimiter, QStringLiteral("~"));
    basAPIini::pu_subWriteIni(state_, name, SettingsKeys::Script::ChkAppPath, 1);
    EXPECT_FALSE(state_.bWritable);
    EXPECT_EQ(readBytes(name), before);

    EXPECT_EQ(basAPIini::pu_fun_lnReadIni(state_, name, SettingsKeys::FormView::height), 1910);
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, SettingsKeys::Option::delimiter),
              QStringLiteral("_"));
    EXPECT_EQ(basAPIini::pu_fun_lnReadIni(state_, name, SettingsKeys::Option::AutoHide), 0);
    EXPECT_EQ(basAPIini::pu_fun_sReadIni(state_, name, SettingsKeys::Script::TxtScriptKeyword, 3),
              QStringLiteral("<L3>"));
    EXPECT_EQ(basAPIini::pu_fun_lnReadIni(state_, name, SettingsKeys::Script::ChkAppPath), 0);
}

// A new file off a fixed disk stays unwritten for the run, though it then exists.
TEST_F(SettingsTest, NewFileOffFixedDiskStaysUnwritten) {
    state_.isFixedDisk = [](const QString&) { return false; };
    QString name = QStringLiteral("TOVA.ini");
    basAPIini::pu_subPrepareIniFile(state_, name);
    EXPECT_FALSE(state_.bWritable);
    basAPIini::pu_subWriteIni(state_, name, SettingsKeys::Option::AutoHide, 0);
    basAPIini::pu_subWriteIni(state_, name, SettingsKeys::Option::AutoHide, 0);
    EXPECT_FALSE(state_.bWritable);
    EXPECT_EQ(readBytes(name), QByteArray());
    EXPECT_EQ(basAPIini::pu_fun_lnReadIni(state_, name, SettingsKeys::Option::AutoHide), 1);

    // The next run finds an existing, writable file and writes it.
    IniState nextRun;
    basAPIini::pu_subWriteIni(nextRun, name, SettingsKeys::Option::AutoHide, 0);
    EXPECT_TRUE(nextRun.bWritable);
    EXPECT_EQ(basAPIini::pu_fun_lnReadIni(nextRun, name, SettingsKeys::Option::AutoHide), 0);
}

// ---------------------------------------------------------------- options

// Without a file the options take the defaults of the table.
TEST_F(SettingsTest, OptionsDefaults) {
    basDefault::Options options;
    options.Delimiter = QStringLiteral("#");
    options.SmallViewClass = false;
    options.EscALLView = false;
    options.AutoHide = false;
    options.ChkONOFFDetail = true;
    const QString caption =
        basDefault::pu_fun_sReadOptions(state_, QStringLiteral("TOVA.ini"), options);
    EXPECT_EQ(caption, QStringLiteral("-"));
    EXPECT_EQ(options.Delimiter, QStringLiteral("-"));
    EXPECT_TRUE(options.SmallViewClass);
    EXPECT_TRUE(options.EscALLView);
    EXPECT_TRUE(options.AutoHide);
    EXPECT_FALSE(options.ChkONOFFDetail);
}

// A one-space delimiter is stored as "\s" and comes back, and is shown, as one space.
TEST_F(SettingsTest, SpaceDelimiterRoundTrip) {
    basDefault::Options saved;
    saved.Delimiter = QStringLiteral(" ");
    saved.SmallViewClass = false;
    saved.EscALLView = true;
    saved.AutoHide = false;
    saved.ChkONOFFDetail = true;
    basDefault::pu_subWriteOptions(state_, QStringLiteral("TOVA.ini"), saved);
    EXPECT_EQ(readBytes(inHome(QStringLiteral("TOVA.ini"))),
              QByteArray("[Option]\ndelimiter=\\s\nSmallViewClass=0\nEscALLView=1\nAutoHide=0\n"
                         "ChkONOFFDetail=1\n"));

    basDefault::Options read;
    const QString caption =
        basDefault::pu_fun_sReadOptions(state_, QStringLiteral("TOVA.ini"), read);
    EXPECT_EQ(caption, QStringLiteral(" "));
    EXPECT_EQ(read.Delimiter, QStringLiteral(" "));
    EXPECT_FALSE(read.SmallViewClass);
    EXPECT_TRUE(read.EscALLView);
    EXPECT_FALSE(read.AutoHide);
    EXPECT_TRUE(read.ChkONOFFDetail);
}

// "\s" and spaces convert into each other, the one the inverse of the other.
TEST(DelimiterCoding, InverseOfEachOther) {
    struct Case {
        const char* delimiter;
        const char* stored;
    };
    const Case cases[] = {{"-", "-"}, {" ", "\\s"}, {"  ", "\\s\\s"}, {" _ ", "\\s_\\s"}, {"", ""}};
    for (const Case& c : cases) {
        const QString delimiter = QString::fromUtf8(c.delimiter);
        const QString stored = QString::fromUtf8(c.stored);
        EXPECT_EQ(basDefault::pu_fun_sDelimiterToIni(delimiter), stored) << c.delimiter;
        EXPECT_EQ(basDefault::pu_fun_sDelimiterFromIni(stored), delimiter) << c.stored;
    }
}

// An empty stored delimiter falls back to "-"; an invalid one is kept as stored.
TEST_F(SettingsTest, StoredDelimiterEdgeCases) {
    basDefault::Options options;
    QString name = iniWith("[Option]\ndelimiter=\n");
    EXPECT_EQ(basDefault::pu_fun_sReadOptions(state_, name, options), QStringLiteral("-"));
    name = iniWith("[Option]\ndelimiter=*\n");
    EXPECT_EQ(basDefault::pu_fun_sReadOptions(state_, name, options), QStringLiteral("*"));
    EXPECT_EQ(options.Delimiter, QStringLiteral("*"));
}

// Flags are on for any stored number but 0, and off for 0 or garbage.
TEST_F(SettingsTest, OptionFlagsFromNumbers) {
    const QString name =
        iniWith("[Option]\nSmallViewClass=2\nEscALLView=0\nAutoHide=x\nChkONOFFDetail=-1\n");
    basDefault::Options options;
    basDefault::pu_fun_sReadOptions(state_, name, options);
    EXPECT_TRUE(options.SmallViewClass);
    EXPECT_FALSE(options.EscALLView);
    EXPECT_FALSE(options.AutoHide);
    EXPECT_TRUE(options.ChkONOFFDetail);
}

// Saving options to a read-only file changes nothing: the values read back are the file's.
TEST_F(SettingsTest, OptionsSaveToReadOnlyFileKeepsFileValues) {
    const QString name = iniWith("[Option]\ndelimiter=\\s\nAutoHide=0\n");
    makeReadOnly(name);
    basDefault::Options wanted;
    wanted.Delimiter = QStringLiteral("_");
    wanted.AutoHide = true;
    basDefault::pu_subWriteOptions(state_, name, wanted);

    basDefault::Options inForce;
    EXPECT_EQ(basDefault::pu_fun_sReadOptions(state_, name, inForce), QStringLiteral(" "));
    EXPECT_FALSE(inForce.AutoHide);
    EXPECT_TRUE(inForce.SmallViewClass);
}

// The invalid layer-name characters are the twelve, once each, in their fixed order.
TEST(InvalidLayerNameChars, TwelveInOrder) {
    const char16_t expected[] = {u'<', u'>', u'/', u'\\', u'"', u':',
                                 u'?', u'*', u'|', u',',  u'=', u'`'};
    const QString chars = basDefault::pu_fun_sInvalidLayerNameChars();
    ASSERT_EQ(chars.size(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(chars.at(i), QChar(expected[i])) << i;
        EXPECT_EQ(chars.count(chars.at(i)), 1) << i;
    }
}

// The first invalid character of a text is found from its start; none gives empty.
TEST(InvalidLayerNameChars, FirstInvalidCharacter) {
    struct Case {
        const char* text;
        const char* first;
    };
    const Case cases[] = {{"a*b", "*"},  {"a:b*", ":"},  {"abc", ""},          {"", ""},
                          {"x`y<", "`"}, {"A-B_C", ""},  {"\xEF\xBC\x8A", ""},  // full-width *
                          {"\\", "\\"},  {"\"q\"", "\""}};
    for (const Case& c : cases) {
        EXPECT_EQ(basDefault::pu_fun_sFirstInvalidChar(QString::fromUtf8(c.text)),
                  QString::fromUtf8(c.first))
            << c.text;
    }
    // Every one of the twelve is caught alone.
    for (const QChar c : basDefault::pu_fun_sInvalidLayerNameChars()) {
        EXPECT_EQ(
            basDefault::pu_fun_sFirstInvalidChar(QStringLiteral("ab") + c + QStringLiteral("cd")),
            QString(c));
    }
}

}  // namespace
