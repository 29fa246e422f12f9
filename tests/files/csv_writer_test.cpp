// The CSV writer: quoting modes, exception rules, line ends, orientation,
// bounds, the temporary file and its replace, and failures that leave
// nothing behind.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "files/CsvFields.h"
#include "files/clsCSV_Function2.h"

namespace {

struct Csv {
    QTemporaryDir dir;
    clsCSV_Function2 w;
    QString mode;
    bool mode2 = false;  // bMode
    bool chkEmpty = false, optEmptyOK = false, chkNum = false, optNumOK = false, chkNum0 = false,
         chkDate = false, reigai = false;
    QString head = QStringLiteral("#"), back = QStringLiteral("#");
    int ret = 0;
    QString delim = QStringLiteral(",");

    bool write(const Array2D& t, const QString& folder = {}) {
        return w.pu_fun_bOut_Array_CSV(folder.isEmpty() ? dir.path() : folder,
                                       QStringLiteral("out.csv"), t, mode2, mode, chkEmpty,
                                       optEmptyOK, chkNum, optNumOK, chkNum0, chkDate, head, back,
                                       reigai, ret, delim);
    }
    QByteArray read() const {
        QFile f(dir.path() + QStringLiteral("/out.csv"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    bool buffLeft() const { return QFile::exists(dir.path() + QStringLiteral("/buff_out.csv")); }
    // One column of values, rows 1..n.
    QByteArray column(const QVariantList& values) {
        Array2D t(1, static_cast<int>(values.size()), 0, 0);
        for (int i = 0; i < values.size(); ++i)
            t(i + 1, 0) = values[i];
        EXPECT_TRUE(write(t));
        return read();
    }
};

}  // namespace

TEST(CsvWriter, QuotingModes) {
    Csv c;
    // K3 (and the empty mode): everything quoted, an empty field too; a
    // double quote inside is written as it is.
    EXPECT_EQ(c.column({QString(), "ab", QStringLiteral("a\"b")}),
              "\"\"\r\n\"ab\"\r\n\"a\"b\"\r\n");
    c.mode = "K3";
    EXPECT_EQ(c.column({QString()}), "\"\"\r\n");
    c.mode = "CSV1";
    EXPECT_EQ(c.column({QString(), "ab"}), "\r\n\"ab\"\r\n");
    c.mode = "CSV2";
    EXPECT_EQ(c.column({"a,b", "ab"}), "\"a,b\"\r\nab\r\n");
    c.mode = "CSV3";
    EXPECT_EQ(c.column({"12", "x1", "+5", QString(), "1,2"}),
              "12\r\n\"x1\"\r\n\"+5\"\r\n\r\n\"1,2\"\r\n");
    // Mode names keep their case; an unknown one writes an empty file.
    c.mode = "k3";
    EXPECT_EQ(c.column({"a"}), "");
}

TEST(CsvWriter, ExceptionRulesInOrder) {
    Csv c;
    c.reigai = true;
    c.chkEmpty = true;
    c.optEmptyOK = false;
    EXPECT_EQ(c.column({QString()}), "\r\n");  // K3's "" replaced by nothing
    c.optEmptyOK = true;
    c.mode = "CSV2";
    EXPECT_EQ(c.column({QString()}), "\"\"\r\n");
    c.chkNum = true;
    c.optNumOK = true;
    EXPECT_EQ(c.column({"42", "x"}), "\"42\"\r\nx\r\n");
    c.mode = "K3";
    c.optNumOK = false;
    EXPECT_EQ(c.column({"42", "x"}), "42\r\n\"x\"\r\n");
    // Rule 3 follows rule 2: a number beginning with 0 is quoted again.
    c.chkNum0 = true;
    EXPECT_EQ(c.column({"007", "7"}), "\"007\"\r\n7\r\n");
    // Rule 4: dates without "-" or "." get the head and back texts.
    c.chkDate = true;
    EXPECT_EQ(c.column({"2024/1/5", "2024-01-05", "12:30"}),
              "#2024/1/5#\r\n\"2024-01-05\"\r\n#12:30#\r\n");
    // Rule 5: a field with the delimiter that rule 2 left bare is quoted.
    c.mode = "CSV1";
    c.chkNum0 = c.chkDate = false;
    c.delim = ".";
    EXPECT_EQ(c.column({"1.5"}), "\"1.5\"\r\n");
    // Rules off: only the mode counts.
    c.reigai = false;
    EXPECT_EQ(c.column({"1.5", QString()}), "\"1.5\"\r\n\r\n");
}

TEST(CsvWriter, LineEndsOrientationAndBounds) {
    Csv c;
    // Bounds -2..-1 by 3..5, value "r<i>c<j>".
    Array2D t(-2, -1, 3, 5);
    for (int i = -2; i <= -1; ++i)
        for (int j = 3; j <= 5; ++j)
            t(i, j) = QStringLiteral("r%1c%2").arg(i).arg(j);
    c.mode = "CSV2";
    ASSERT_TRUE(c.write(t));
    EXPECT_EQ(c.read(), "r-2c3,r-2c4,r-2c5\r\nr-1c3,r-1c4,r-1c5\r\n");
    c.mode2 = true;
    c.ret = 3;
    ASSERT_TRUE(c.write(t));
    EXPECT_EQ(c.read(), "r-2c3,r-1c3\nr-2c4,r-1c4\nr-2c5,r-1c5\n");
    c.mode2 = false;
    c.ret = 2;
    ASSERT_TRUE(c.write(t));
    EXPECT_EQ(c.read(), "r-2c3,r-2c4,r-2c5\rr-1c3,r-1c4,r-1c5\r");
    c.ret = 1;
    EXPECT_EQ(c.column({"a"}), "a\r\n");
    // Any other choice ends each record with the delimiter: one line.
    c.ret = 5;
    ASSERT_TRUE(c.write(t));
    EXPECT_EQ(c.read(), "r-2c3,r-2c4,r-2c5,r-1c3,r-1c4,r-1c5,");
    // Numbers and other values in their text form; the locale's code page (UTF-8).
    c.ret = 0;
    const QByteArray expected =
        QByteArray("12\r\n2.5\r\n") + QStringLiteral("画層").toUtf8() + "\r\n";
    EXPECT_EQ(c.column({12, 2.5, QStringLiteral("画層")}), expected);
}

TEST(CsvWriter, PathsTemporaryFileAndReplace) {
    Csv c;
    EXPECT_EQ(clsCSV_Function2::targetPath("/a/b", "x.csv"), "/a/b/x.csv");
    EXPECT_EQ(clsCSV_Function2::targetPath("/a/b/", "x.csv"), "/a/b/x.csv");
    EXPECT_EQ(clsCSV_Function2::temporaryPath("/a/b/", "x.csv"), "/a/b/buff_x.csv");
    QFile old(c.dir.path() + "/out.csv");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older and much longer file\r\nwith two lines\r\n");
    old.close();
    EXPECT_EQ(c.column({"0", "A-1"}), "\"0\"\r\n\"A-1\"\r\n");
    EXPECT_FALSE(c.buffLeft());
    // With a trailing separator the same file is written.
    Array2D t(1, 1, 0, 0);
    t(1, 0) = "z";
    ASSERT_TRUE(c.write(t, c.dir.path() + "/"));
    EXPECT_EQ(c.read(), "\"z\"\r\n");
    EXPECT_EQ(QDir(c.dir.path()).entryList(QDir::Files), QStringList{"out.csv"});
}

TEST(CsvWriter, FailuresLeaveNothingBehind) {
    Csv c;
    Array2D good(1, 1, 0, 0);
    good(1, 0) = "new";
    Array2D bad(1, 2, 0, 0);
    bad(1, 0) = "fine";
    bad(2, 0) = QVariantList{1, 2};  // no text form
    QFile old(c.dir.path() + "/out.csv");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    EXPECT_FALSE(c.write(bad));
    EXPECT_FALSE(c.write(Array2D()));  // not a two-dimensional table
    EXPECT_EQ(c.read(), "old");
    EXPECT_FALSE(c.buffLeft());
    // An unwritable folder (one that does not exist).
    EXPECT_FALSE(c.write(good, c.dir.path() + "/missing"));
    EXPECT_FALSE(QFile::exists(c.dir.path() + "/missing"));
    // A failing rename: the target name is taken by a folder.
    QTemporaryDir other;
    ASSERT_TRUE(QDir(other.path()).mkdir("out.csv"));
    EXPECT_FALSE(c.w.pu_fun_bOut_Array_CSV(other.path(), "out.csv", good, false, {}, false, true,
                                           false, true, false, false, "#", "#", false, 0, ","));
    EXPECT_TRUE(QFileInfo(other.path() + "/out.csv").isDir());
    EXPECT_FALSE(QFile::exists(other.path() + "/buff_out.csv"));
    EXPECT_EQ(c.read(), "old");
}

TEST(CsvFields, NumberAndDateTests) {
    EXPECT_TRUE(csv::isNumber("12"));
    EXPECT_TRUE(csv::isNumber(" -1.5e3 "));
    EXPECT_TRUE(csv::isNumber("+5"));
    EXPECT_FALSE(csv::isNumber("x1"));
    EXPECT_FALSE(csv::isNumber(""));
    EXPECT_TRUE(csv::isDate("2024/1/5"));
    EXPECT_TRUE(csv::isDate("2024年1月5日"));
    EXPECT_TRUE(csv::isDate("2024/1/5 12:30"));
    EXPECT_FALSE(csv::isDate("2024/13/45"));
    EXPECT_FALSE(csv::isDate("abc"));
}
