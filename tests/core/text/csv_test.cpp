// SPDX-License-Identifier: GPL-3.0-or-later
// Comma-separated text: RFC 4180 quoting both ways, line breaks of every kind,
// the separators of other locales, and the files that are not CSV at all.
#include "text/app_lang.h"
#include "text/csv.h"
#include <gtest/gtest.h>

using namespace k3n;

namespace {

std::vector<QStringList> FieldsOf(const std::vector<CsvRow>& rows)
{
    std::vector<QStringList> fields;
    for (const CsvRow& row : rows)
        fields.push_back(row.fields);
    return fields;
}

}   // namespace

TEST(Csv, QuotedFieldsHoldCommasQuotesAndLineBreaks)
{
    const QByteArray text = "a,\"b,c\",\"say \"\"hi\"\"\"\r\n"
                            "\"two\r\nlines\",,\"\"\r\n"
                            "last,row,here";
    const Result<std::vector<CsvRow>> rows = ParseCsv(text);
    ASSERT_TRUE(rows) << rows.error().message.toStdString();
    const std::vector<QStringList> expected{
        {"a", "b,c", "say \"hi\""}, {"two\r\nlines", "", ""}, {"last", "row", "here"}};
    EXPECT_EQ(FieldsOf(rows.value()), expected);
    // The row after a field with a line break starts on the file's next line but one.
    EXPECT_EQ(rows.value()[0].line, 1);
    EXPECT_EQ(rows.value()[1].line, 2);
    EXPECT_EQ(rows.value()[2].line, 4);
}

TEST(Csv, LfCrlfAndBomReadTheSameAndBlankRowsAreLeftOut)
{
    const QByteArray crlf = "\xEF\xBB\xBFLocation,Frequency\r\n1,146.52\r\n\r\n,,\r\n2,446.0\r\n";
    QByteArray lf = crlf.mid(3);
    lf.replace("\r\n", "\n");
    const Result<std::vector<CsvRow>> a = ParseCsv(crlf);
    const Result<std::vector<CsvRow>> b = ParseCsv(lf);
    ASSERT_TRUE(a && b);
    const std::vector<QStringList> expected{{"Location", "Frequency"}, {"1", "146.52"}, {"2", "446.0"}};
    EXPECT_EQ(FieldsOf(a.value()), expected);
    EXPECT_EQ(FieldsOf(b.value()), expected);
    EXPECT_EQ(a.value()[2].line, 5);
    EXPECT_EQ(b.value()[2].line, 5);
}

TEST(Csv, RaggedRowsKeepTheirOwnFieldCount)
{
    const Result<std::vector<CsvRow>> rows = ParseCsv("a,b,c\n1,2,3,\n1\n1,2,3,4\n");
    ASSERT_TRUE(rows);
    const std::vector<QStringList> expected{{"a", "b", "c"}, {"1", "2", "3", ""}, {"1"}, {"1", "2", "3", "4"}};
    EXPECT_EQ(FieldsOf(rows.value()), expected);
}

TEST(Csv, WriterQuotesOnlyWhatNeedsItAndReadsBackTheSame)
{
    EXPECT_EQ(CsvField("plain"), "plain");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");

    const std::vector<QStringList> rows{{"x", "a,b", "\"q\""}, {"", "line\r\nbreak", QString::fromUtf8("Grüße")}};
    const QByteArray written = WriteCsv(rows);
    EXPECT_TRUE(written.startsWith("x,\"a,b\",\"\"\"q\"\"\"\r\n"));
    EXPECT_TRUE(written.endsWith("\r\n"));
    const Result<std::vector<CsvRow>> read = ParseCsv(written);
    ASSERT_TRUE(read);
    EXPECT_EQ(FieldsOf(read.value()), rows);
}

TEST(Csv, FilesThatAreNotCsvFailNamingTheLine)
{
    const struct {
        QByteArray bytes;
        const char* message;
    } refused[] = {
        {"", "the file is empty"},
        {"\xEF\xBB\xBF \r\n\r\n", "the file is empty"},
        {QByteArray("a,b\n1,2\n\x01\x02\x00\xFF", 10), "line 3: binary data"},
        {"a,b\n1,\"open\n2,3\n", "line 2: a quoted field starts here and is never closed"},
    };
    for (const auto& [bytes, message] : refused) {
        const Result<std::vector<CsvRow>> rows = ParseCsv(bytes);
        ASSERT_FALSE(rows) << message;
        EXPECT_TRUE(rows.error().message.startsWith(QLatin1String(message))) << rows.error().message.toStdString();
    }
}

TEST(Csv, TextInASingleByteCodePageStillReads)
{
    const Result<std::vector<CsvRow>> rows = ParseCsv("Name,Frequency\nCaf\xE9,146.52\n");
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows.value()[1].fields, (QStringList{QString::fromUtf8("Café"), "146.52"}));
}

TEST(Csv, TheHeaderLineTellsTheSeparatorButTheProgramsOwnFilesStayCommaSeparated)
{
    const Result<CsvTable> table = ReadCsvTable("\"A;B\",C,D\n1;2,3,4\x1A", TAppLang(kLangIdEnglishUs));
    ASSERT_TRUE(table);
    EXPECT_EQ(table.value().separator, ',');
    EXPECT_EQ(table.value().rows[1].fields, (QStringList{"1;2", "3", "4"}));   // the end-of-file mark is no value
    const Result<std::vector<CsvRow>> own = ParseCsv("a;b;c,d\n1;2;3,4\n");
    ASSERT_TRUE(own);
    EXPECT_EQ(own.value()[1].fields, (QStringList{"1;2;3", "4"}));
}
