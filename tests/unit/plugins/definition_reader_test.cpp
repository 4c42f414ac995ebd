#include "plugins/definition_reader.h"

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "code_page_932.h"
#include "fake_os.h"
#include "gtest/gtest.h"
#include "scratch_directory.h"

namespace {

class DefinitionReading : public ::testing::Test {
 protected:
  // Reads `text` as a file with the common head format.
  int ReadHead(const std::string& text) {
    scratch.Write("Struct.txt", text);
    FILE* file = scratch.Open("Struct.txt");
    int stored = DefinitionReader(file, "Struct.txt").Read("%s\n%s\n%f", name, author, &scale);
    std::fclose(file);
    return stored;
  }
  // Reads one platform entry after a count, as the station does.
  int ReadEntry(const std::string& text) {
    scratch.Write("Station.txt", text);
    FILE* file = scratch.Open("Station.txt");
    int stored = DefinitionReader(file, "Station.txt").Read("\n(%f,%f,%f),(%f,%f,%f)", &p[0], &p[1], &p[2], &p[3],
                                                               &p[4], &p[5]);
    std::fclose(file);
    return stored;
  }

  FakeOs os;
  ScratchDirectory scratch;
  char name[kPluginWordSize] = "unchanged";
  char author[kPluginWordSize] = "unchanged";
  float scale = -7;
  float p[6] = {-1, -1, -1, -1, -1, -1};
};

TEST_F(DefinitionReading, ItemsMaySharePlainLinesOrBeSeparatedByBlankLines) {
  EXPECT_EQ(ReadHead("Name Author 2.5"), 3);
  EXPECT_STREQ(name, "Name");
  EXPECT_STREQ(author, "Author");
  EXPECT_EQ(scale, 2.5f);

  EXPECT_EQ(ReadHead("\r\n\r\n  Other\r\n\r\n\r\n\tWriter\r\n\r\n1e-1\r\n"), 3);
  EXPECT_STREQ(name, "Other");
  EXPECT_STREQ(author, "Writer");
  EXPECT_EQ(scale, 0.1f);
}

TEST_F(DefinitionReading, ANameOfTwoWordsShiftsTheItems) {
  EXPECT_EQ(ReadHead("Blue Train\nSomeone\n1.0\n"), 2);
  EXPECT_STREQ(name, "Blue");
  EXPECT_STREQ(author, "Train");
  EXPECT_EQ(scale, -7.0f);  // "Someone" is no number: left as it was

  EXPECT_EQ(ReadHead("Blue Train\n3Someone\n"), 3);  // a word that begins like a number
  EXPECT_EQ(scale, 3.0f);
}

TEST_F(DefinitionReading, AMissingItemLeavesItsFieldAndTrailingTextIsIgnored) {
  EXPECT_EQ(ReadHead("OnlyName\n"), 1);
  EXPECT_STREQ(name, "OnlyName");
  EXPECT_STREQ(author, "unchanged");
  EXPECT_EQ(ReadHead(""), 0);
  EXPECT_EQ(ReadHead("a b 1.5 and then some words 7 8 9"), 3);
  EXPECT_EQ(scale, 1.5f);
}

TEST_F(DefinitionReading, ShiftJisWordsAreKeptByteForByte) {
  // ソ and 表 have 0x5C ('\') as their second byte.
  std::string sjisName = ToCodePage932("ソフト表示"), sjisAuthor = ToCodePage932("作者");
  ASSERT_EQ(sjisName, "\x83\x5C\x83\x74\x83\x67\x95\x5C\x8E\xA6");
  EXPECT_EQ(ReadHead(sjisName + "\r\n" + sjisAuthor + "\r\n1.0\r\n"), 3);
  EXPECT_EQ(std::string(name), sjisName);
  EXPECT_EQ(std::string(author), sjisAuthor);
}

TEST_F(DefinitionReading, AnOverlongWordIsCutAndItsRestSkipped) {
  std::string word(300, 'w');
  EXPECT_EQ(ReadHead(word + " Author 1.0"), 3);
  EXPECT_EQ(std::string(name), std::string(255, 'w'));
  EXPECT_STREQ(author, "Author");
  EXPECT_EQ(scale, 1.0f);
  EXPECT_EQ(os.DebugText(), "Struct.txt: line 1: a word longer than 255 bytes was cut to its first 255\n");

  EXPECT_EQ(ReadHead(std::string(255, 'x') + " A 1"), 3);  // exactly 255 fits
  EXPECT_EQ(std::string(name), std::string(255, 'x'));
  EXPECT_EQ(os.debugOutput.size(), 1u);
}

TEST_F(DefinitionReading, RealNumbersInTheUsualDecimalForms) {
  const struct {
    const char* text;
    float value;
  } accepted[] = {{"-1.5e2", -150.0f}, {"+.5", 0.5f}, {"3.", 3.0f}, {"7E+1", 70.0f}, {"1e39", INFINITY},
                  {"-Infinity", -INFINITY}, {"INF", INFINITY}};
  for (const auto& c : accepted) {
    EXPECT_EQ(ReadHead(std::string("n a ") + c.text), 3) << c.text;
    EXPECT_EQ(scale, c.value) << c.text;
  }
  EXPECT_EQ(ReadHead("n a nan"), 3);
  EXPECT_TRUE(std::isnan(scale));
  for (const char* text : {"-", ".", "+.e", "x1", "in", "infinite", "na"}) {
    scale = -7;
    EXPECT_EQ(ReadHead(std::string("n a ") + text), 2) << text;
    EXPECT_EQ(scale, -7.0f) << text;
  }
}

TEST_F(DefinitionReading, HexadecimalRealNumbers) {
  const struct {
    const char* text;
    float value;
  } accepted[] = {{"0x1p3", 8.0f}, {"0x10", 16.0f}, {"-0X1.8P1", -3.0f}, {"0x1e3", 483.0f}, {"+0x.8p-1", 0.25f}};
  for (const auto& c : accepted) {
    EXPECT_EQ(ReadHead(std::string("n a ") + c.text), 3) << c.text;
    EXPECT_EQ(scale, c.value) << c.text;
  }
  for (const char* text : {"0x", "-0x", "0xp3", "0xg"}) {
    scale = -7;
    EXPECT_EQ(ReadHead(std::string("n a ") + text), 2) << text;
    EXPECT_EQ(scale, -7.0f) << text;
  }
}

TEST_F(DefinitionReading, ANumberIsTakenAsFarAsItCanGoAndTheNextItemStartsThere) {
  scratch.Write("n.txt", "1e+x 0x.p1 0x1p3.5 infinityx nan(1) infinx 5");
  FILE* file = scratch.Open("n.txt");
  DefinitionReader reader(file, "n.txt");
  char rest[kPluginWordSize];
  const struct {
    float value;
    const char* rest;
  } expected[] = {{1.0f, "x"}, {0.0f, "p1"}, {8.0f, ".5"}, {INFINITY, "x"}};
  for (const auto& e : expected) {
    EXPECT_EQ(reader.Read("%f%s", &scale, rest), 2) << e.rest;
    EXPECT_EQ(scale, e.value) << e.rest;
    EXPECT_STREQ(rest, e.rest);
  }
  EXPECT_EQ(reader.Read("%f%s", &scale, rest), 2);
  EXPECT_TRUE(std::isnan(scale));
  EXPECT_STREQ(rest, "(1)");
  // A letter that breaks "infinity" is used up with it.
  EXPECT_EQ(reader.Read("%f", &scale), 0);
  EXPECT_EQ(reader.Read("%f", &scale), 1);
  EXPECT_EQ(scale, 5.0f);
  std::fclose(file);
}

TEST_F(DefinitionReading, ANumberOfMoreThan63CharactersIsNotRead) {
  EXPECT_EQ(ReadHead("n a 1." + std::string(70, '0')), 2);
  EXPECT_EQ(os.DebugText(), "Struct.txt: line 1: a number longer than 63 characters is not read\n");
}

TEST_F(DefinitionReading, ALineOfTenMegabytesIsReadUpToTheByteLimit) {
  EXPECT_EQ(ReadHead(std::string(10 << 20, 'w') + "\nAuthor\n1.0\n"), 1);
  EXPECT_EQ(std::string(name), std::string(255, 'w'));
  EXPECT_STREQ(author, "unchanged");
  EXPECT_EQ(os.DebugText(),
            "Struct.txt: line 1: the file goes on beyond 1048576 bytes; the rest is not read\n"
            "Struct.txt: line 1: a word longer than 255 bytes was cut to its first 255\n");
}

TEST_F(DefinitionReading, ReadingStopsAtTheItemLimit) {
  std::string text;
  for (size_t i = 0; i < kMaxDefinitionItems + 5; ++i) text += "1\n";
  scratch.Write("Station.txt", text);
  FILE* file = scratch.Open("Station.txt");
  DefinitionReader reader(file, "Station.txt");
  int value = 0, stored = 0;
  while (reader.Read("%d", &value) == 1) ++stored;
  std::fclose(file);
  EXPECT_EQ(stored, static_cast<int>(kMaxDefinitionItems));
  EXPECT_EQ(reader.Record().fields.size(), kMaxDefinitionItems);
  EXPECT_EQ(os.DebugText(), "Station.txt: line 10001: the file holds more than 10000 items; the rest is not read\n");
}

TEST_F(DefinitionReading, IntegersSaturateAtTheInt32Limits) {
  int values[3] = {};
  scratch.Write("n.txt", "12 -99999999999 99999999999 4.5");
  FILE* file = scratch.Open("n.txt");
  DefinitionReader reader(file, "n.txt");
  EXPECT_EQ(reader.Read("%d%d%d", &values[0], &values[1], &values[2]), 3);
  EXPECT_EQ(values[0], 12);
  EXPECT_EQ(values[1], INT_MIN);
  EXPECT_EQ(values[2], INT_MAX);
  EXPECT_EQ(reader.Read("%d", &values[0]), 1);  // "4" of "4.5"
  EXPECT_EQ(values[0], 4);
  std::fclose(file);
}

TEST_F(DefinitionReading, PlatformEntriesNeedTheirPunctuationRightAfterEachNumber) {
  EXPECT_EQ(ReadEntry("\r\n(0,1.5,-2),(10, 0,\n3)"), 6);  // blanks before numbers are fine
  EXPECT_EQ(p[1], 1.5f);
  EXPECT_EQ(p[3], 10.0f);
  EXPECT_EQ(p[5], 3.0f);

  float before[6] = {-1, -1, -1, -1, -1, -1};
  std::copy(before, before + 6, p);
  EXPECT_EQ(ReadEntry("(0,0 ,0),(10,0,0)"), 2);  // a blank before a comma stops the read there
  EXPECT_EQ(p[2], -1.0f);
  EXPECT_EQ(ReadEntry(" (1,2,3) ,(4,5,6)"), 3);
  EXPECT_EQ(p[3], -1.0f);
}

TEST_F(DefinitionReading, AFailedItemStopsLaterReadsAtTheSamePlace) {
  scratch.Write("Station.txt", "(0,0 ,0),(1,1,1)\n(2,2,2),(3,3,3)");
  FILE* file = scratch.Open("Station.txt");
  DefinitionReader reader(file, "Station.txt");
  const char* entry = "\n(%f,%f,%f),(%f,%f,%f)";
  EXPECT_EQ(reader.Read(entry, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5]), 2);
  EXPECT_EQ(reader.Read(entry, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5]), 0);
  std::fclose(file);
}

struct FieldCase {
  std::string text;
  std::vector<DefinitionField> fields;  // named after the head's items
  std::vector<unsigned> problemLines;
};

TEST_F(DefinitionReading, EachItemIsKeptAsReadWithItsLine) {
  const FieldCase cases[] = {
      {"Name\nAuthor\n2.5\n", {{"name", 1, "Name"}, {"author", 2, "Author"}, {"scale figure", 3, "2.5"}}, {}},
      {"Name Author 1e-1", {{"name", 1, "Name"}, {"author", 1, "Author"}, {"scale figure", 1, "1e-1"}}, {}},
      {"\r\n\r\n  A\r\n\r\n\tB\r\n\r\n+3.\r\n", {{"name", 3, "A"}, {"author", 5, "B"}, {"scale figure", 7, "+3."}}, {}},
      {"A\nB\nabc\n", {{"name", 1, "A"}, {"author", 2, "B"}, {"scale figure", 3, ""}}, {}},  // kept as not stored
      {"", {}, {}},
      {"A\n\n\n" + std::string(300, 'w') + "\n1\n", {{"name", 1, "A"}, {"author", 4, std::string(255, 'w')}, {"scale figure", 5, "1"}}, {4}},
      {"A\nB\n\n" + std::string(70, '1') + "\n", {{"name", 1, "A"}, {"author", 2, "B"}}, {4}},
  };
  for (const FieldCase& c : cases) {
    scratch.Write("Struct.txt", c.text);
    FILE* file = scratch.Open("Struct.txt");
    DefinitionReader reader(file, "Struct.txt");
    reader.Read("%s\n%s\n%f", name, author, &scale);
    constexpr const char* kNames[] = {"name", "author", "scale figure"};
    reader.NameFields(kNames);
    std::fclose(file);
    const DefinitionRecord& record = reader.Record();
    EXPECT_EQ(record.fileName, "Struct.txt");
    ASSERT_EQ(record.fields.size(), c.fields.size()) << c.text;
    for (size_t i = 0; i < c.fields.size(); ++i) {
      EXPECT_EQ(record.fields[i].name, c.fields[i].name) << c.text;
      EXPECT_EQ(record.fields[i].line, c.fields[i].line) << c.text << " item " << i;
      EXPECT_EQ(record.fields[i].text, c.fields[i].text) << c.text;
    }
    std::vector<unsigned> lines;
    for (const LoadNote& problem : record.problems) lines.push_back(problem.line);
    EXPECT_EQ(lines, c.problemLines) << c.text;
  }
}

TEST_F(DefinitionReading, NamesGoToTheFieldsNotNamedYetWithAPrefix) {
  scratch.Write("Station.txt", "(1,2,3),(4,5,6)\n(7,8,9),(");
  FILE* file = scratch.Open("Station.txt");
  DefinitionReader reader(file, "Station.txt");
  constexpr const char* kNames[] = {"start x", "start y", "start z", "end x", "end y", "end z"};
  for (int i = 1; i <= 2; ++i) {
    reader.Read("\n(%f,%f,%f),(%f,%f,%f)", &p[0], &p[1], &p[2], &p[3], &p[4], &p[5]);
    reader.NameFields(kNames, "platform " + std::to_string(i) + " ");
  }
  std::fclose(file);
  const std::vector<DefinitionField>& fields = reader.Record().fields;
  ASSERT_EQ(fields.size(), 9u);
  EXPECT_EQ(fields[5].name, "platform 1 end z");
  EXPECT_EQ(fields[6].name, "platform 2 start x");
  EXPECT_EQ(fields[8].name, "platform 2 start z");
  EXPECT_EQ(fields[8].line, 2u);
  EXPECT_EQ(reader.Line(), 2u);
}

TEST_F(DefinitionReading, AProblemIsLoggedAndKeptWithItsLine) {
  DefinitionRecord record;
  record.fileName = "Train.txt";
  record.AddProblem(FindingCode::kDefinitionItemsMissing, 4, "only %d of %d items read", 3, 6);
  record.AddProblem(FindingCode::kScaleFigureMissing, 0, "no scale figure; drawScale 1.0 instead");
  EXPECT_EQ(os.DebugText(), "Train.txt: line 4: only 3 of 6 items read\nTrain.txt: no scale figure; drawScale 1.0 instead\n");
  ASSERT_EQ(record.problems.size(), 2u);
  EXPECT_EQ(record.problems[0].Text(), "Train.txt: line 4: only 3 of 6 items read");
  EXPECT_EQ(record.problems[1].line, 0u);
  EXPECT_EQ(record.problems[1].Text(), "Train.txt: no scale figure; drawScale 1.0 instead");
  EXPECT_EQ(record.problems[1].code, FindingCode::kScaleFigureMissing);
}

struct UntakenCase {
  std::string text;
  const char* format;  // "head" or "platform"
  size_t field;        // the field looked at
  const char* taken;
  const char* untaken;
  bool stored;
};

// What of a number's word was not taken, for the report to name.
TEST_F(DefinitionReading, TheRestOfANumbersWordIsKept) {
  const UntakenCase cases[] = {
      {"n a 2.5", "head", 2, "2.5", "", true},
      {"n a 1x.5", "head", 2, "1", "x.5", true},
      {"n a 95km/h\n", "head", 2, "95", "km/h", true},
      {"n a 1e+x", "head", 2, "1e+", "x", true},
      {"n a \xe6\x99\x82\xe9\x80\x9f" "95", "head", 2, "", "\xe6\x99\x82\xe9\x80\x9f" "95", false},
      {"n a -", "head", 2, "", "-", false},
      {"(1x,2,3),(4,5,6)", "platform", 0, "1", "x", true},  // up to the format's next character
      {"(1,2,3),(4,5,6)", "platform", 5, "6", "", true},
  };
  for (const UntakenCase& c : cases) {
    scratch.Write("d.txt", c.text);
    FILE* file = scratch.Open("d.txt");
    DefinitionReader reader(file, "d.txt");
    if (std::string(c.format) == "head")
      reader.Read("%s\n%s\n%f", name, author, &scale);
    else
      reader.Read("\n(%f,%f,%f),(%f,%f,%f)", &p[0], &p[1], &p[2], &p[3], &p[4], &p[5]);
    std::fclose(file);
    const std::vector<DefinitionField>& fields = reader.Record().fields;
    ASSERT_GT(fields.size(), c.field) << c.text;
    EXPECT_EQ(fields[c.field].text, c.taken) << c.text;
    EXPECT_EQ(fields[c.field].untaken, c.untaken) << c.text;
    EXPECT_EQ(fields[c.field].stored, c.stored) << c.text;
  }
}

}  // namespace
