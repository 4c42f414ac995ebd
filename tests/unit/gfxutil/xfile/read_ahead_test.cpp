// Long lists read in two halves on two threads give exactly what one reader
// gives: the same mesh, or the same error at the same line.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "gfxutil/xfile/text_reader.h"
#include "gfxutil/xfile/values_ahead.h"
#include "parse_results.h"

namespace {

// The items of every long list of one mesh, each with its inner separators
// but without the ',' or ';' that follows it in the list.
struct Lists {
  std::vector<std::string> positions, faces, normals, normalFaces, texCoords, materials;
  size_t missingFromCounts = 0;  // items of the position and face lists beyond the counts
};

// A grid of vertices; some cells are quads, the others two triangles when
// `mixed`, all triangles otherwise.
Lists GridLists(int width, int height, bool mixed) {
  Lists lists;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      lists.positions.push_back(std::to_string(x * 0.5) + ";" + std::to_string(y * 0.25) + ";" +
                                std::to_string((x * y) % 7 * 0.125) + ";");
      lists.texCoords.push_back(std::to_string(x / 64.0) + ";" + std::to_string(y / 32.0) + ";");
    }
  }
  lists.normals = {"0.0;1.0;0.0;", "0.0;0.0;1.0;", "0.6;0.8;0.0;"};
  int row = 0;
  auto face = [&](std::vector<int> corners, int normal) {
    std::string indices, normalIndices;
    for (size_t i = 0; i < corners.size(); ++i) {
      indices += (i ? "," : "") + std::to_string(corners[i]);
      normalIndices += (i ? "," : "") + std::to_string(normal);
    }
    std::string size = std::to_string(corners.size()) + ";";
    lists.faces.push_back(size + indices + ";");
    lists.normalFaces.push_back(size + normalIndices + ";");
    lists.materials.push_back(std::to_string(row * 2 / (height - 1)));
  };
  for (int y = 0; y + 1 < height; ++y) {
    row = y;
    for (int x = 0; x + 1 < width; ++x) {
      int a = y * width + x, b = a + 1, c = a + width, d = c + 1;
      if (mixed && (x + y) % 3 == 0) {
        face({a, b, d, c}, (x + y) % 3);
      } else {
        face({a, b, d}, x % 3);
        face({a, d, c}, y % 3);
      }
    }
  }
  return lists;
}

// How items are laid out in the text.
struct Layout {
  std::string between = ",\n";  // after every item but the last
  std::string last = ";\n";
  std::function<std::string(std::string)> item = [](std::string item) { return item; };
  std::function<std::string(std::string)> text = [](std::string text) { return text; };
};

std::string Join(const std::vector<std::string>& items, const Layout& layout) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) text += layout.item(items[i]) + (i + 1 < items.size() ? layout.between : layout.last);
  return text;
}

std::string MeshText(const Lists& lists, const Layout& layout) {
  std::string count = std::to_string(lists.faces.size() - lists.missingFromCounts) + ";\n";
  std::string vertexCount = std::to_string(lists.positions.size() - lists.missingFromCounts) + ";\n";
  std::string text = "Mesh grid {\n" + vertexCount + Join(lists.positions, layout) +
                     count + Join(lists.faces, layout) + "MeshNormals {\n" + std::to_string(lists.normals.size()) +
                     ";\n" + Join(lists.normals, layout) + count + Join(lists.normalFaces, layout) +
                     "}\nMeshTextureCoords {\n" + vertexCount +
                     Join(lists.texCoords, layout) + "}\nMeshMaterialList {\n2;\n" + count +
                     Join(lists.materials, layout) +
                     "Material { 1.0;0.0;0.0;1.0;; 5.0; 0.5;0.5;0.5;; 0.1;0.2;0.3;; }\n"
                     "Material { 0.0;1.0;0.0;1.0;; 2.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n}\n}\n";
  return layout.text(text);
}

// A long patience makes sure the values read ahead are taken however busy
// the machine; none has the main reader go on alone wherever it catches up.
// `idle`: the reader's worker is started first and left that long.
XParseResult Read(const std::string& text, size_t readAheadMinimum, std::chrono::microseconds patience,
                  std::chrono::milliseconds idle = {}) {
  const auto* begin = reinterpret_cast<const uint8_t*>(text.data());
  XTextReader reader(begin, begin + text.size());
  reader.SetReadAheadMinimum(readAheadMinimum);
  reader.SetSecondReader(XTextReader::SecondReader::Always);
  reader.SetReadAheadPatience(patience);
  if (idle.count() > 0) {
    reader.PrepareReadAhead(readAheadMinimum);
    std::this_thread::sleep_for(idle);
  }
  return ParseText(reader, "grid.x");
}

// `text` with every `c` replaced.
std::string ReplaceEach(const std::string& text, char c, const std::string& replacement) {
  std::string replaced;
  for (char d : text) replaced += d == c ? replacement : std::string(1, d);
  return replaced;
}

// The list at `fraction` of its length, in the second half.
std::string& ItemAt(std::vector<std::string>& items, double fraction) {
  return items[static_cast<size_t>(static_cast<double>(items.size()) * fraction)];
}

struct Case {
  const char* name;
  std::function<void(Lists&, Layout&)> change;
  bool succeeds;
  bool readsAhead;  // the split is sure to fall on a value
};

const Case kCases[] = {
    {"one item a line", [](Lists&, Layout&) {}, true, true},
    {"all on one line",
     [](Lists&, Layout& layout) {
       layout.text = [](std::string text) {
         for (char& c : text)
           if (c == '\n') c = ' ';
         return text;
       };
     },
     true, false},
    {"three items a line",
     [](Lists&, Layout& layout) {
       layout.item = [n = 0](std::string item) mutable { return (++n % 3 == 0 ? "\n" : " ") + item; };
       layout.between = ",";
     },
     true, true},
    {"faces broken over lines",
     [](Lists&, Layout& layout) {
       layout.item = [](std::string item) {
         size_t first = item.find(';');
         return item.substr(0, first + 1) + "\n" + item.substr(first + 1);
       };
     },
     true, true},
    {"separators at line starts",
     [](Lists&, Layout& layout) {
       layout.between = "\n,";
       layout.last = "\n;\n";
     },
     true, false},
    {"double separators",
     [](Lists&, Layout& layout) {
       layout.item = [](std::string item) { return ReplaceEach(item, ';', ";;"); };
     },
     true, true},
    {"items indented by spaces",
     [](Lists&, Layout& layout) { layout.item = [](std::string item) { return "  " + item; }; }, true, true},
    {"items indented by tabs, CRLF line ends",
     [](Lists&, Layout& layout) {
       layout.item = [](std::string item) { return "\t\t" + item; };
       layout.text = [](std::string text) { return ReplaceEach(text, '\n', "\r\n"); };
     },
     true, true},
    {"CRLF line ends",
     [](Lists&, Layout& layout) {
       layout.text = [](std::string text) { return ReplaceEach(text, '\n', "\r\n"); };
     },
     true, true},
    {"comments in the later halves",
     [](Lists& lists, Layout&) {
       ItemAt(lists.faces, 0.8) = "// a note\n" + ItemAt(lists.faces, 0.8);
       ItemAt(lists.positions, 0.7) = "# a note\n" + ItemAt(lists.positions, 0.7);
       ItemAt(lists.normalFaces, 0.9) += " # a note\n";
     },
     true, true},
    {"exponents and an old NaN",
     [](Lists& lists, Layout&) {
       ItemAt(lists.texCoords, 0.75) = "1.5e-1;-1.#IND00;";
       ItemAt(lists.positions, 0.6) = "2.5E+2;1e-50;0.0;";
     },
     true, true},
    {"a float out of range", [](Lists& lists, Layout&) { ItemAt(lists.positions, 0.9) = "1e40;0.0;0.0;"; }, false,
     true},
    {"a malformed index late in the faces",
     [](Lists& lists, Layout&) { ItemAt(lists.faces, 0.85) = "3;0,1x,2;"; }, false, true},
    {"an index beyond the vertices",
     [](Lists& lists, Layout&) { ItemAt(lists.faces, 0.9) = "3;0,1,99999;"; }, false, true},
    {"a normal face of the wrong size",
     [](Lists& lists, Layout&) { ItemAt(lists.normalFaces, 0.7) = "5;0,0,0,0,0;"; }, false, true},
    {"a missing separator in the texture coordinates",
     [](Lists& lists, Layout&) { ItemAt(lists.texCoords, 0.95) = "0.5 0.5;"; }, false, true},
    {"more items than counted",
     [](Lists& lists, Layout&) {
       lists.missingFromCounts = 1;
       lists.faces.push_back("3;0,1,2;");
       lists.normalFaces.push_back("3;0,0,0;");
       lists.positions.push_back("1.0;2.0;3.0;");
     },
     false, true},
    {"the text cut short in the faces",
     [](Lists&, Layout& layout) {
       layout.text = [](std::string text) { return text.substr(0, text.find("MeshNormals") * 9 / 10); };
     },
     false, true},
};

class ReadAhead : public testing::TestWithParam<Case> {};

constexpr std::chrono::microseconds kLong = std::chrono::seconds(30);

TEST_P(ReadAhead, GivesWhatOneReaderGives) {
  for (bool mixed : {false, true}) {
    Lists lists = GridLists(90, 80, mixed);
    Layout layout;
    GetParam().change(lists, layout);
    std::string text = MeshText(lists, layout);
    XParseResult alone = Read(text, SIZE_MAX, kLong);
    EXPECT_EQ(alone.ok, GetParam().succeeds) << alone.error;
    EXPECT_EQ(alone.valuesTakenAhead, 0u);
    for (auto patience : {kLong, std::chrono::microseconds(0)}) {
      XParseResult split = Read(text, 4096, patience);
      ExpectSameParse(split, alone);
      if (GetParam().readsAhead && patience == kLong) {
        EXPECT_GT(split.valuesTakenAhead, 0u);
      }
    }
  }
}

// The worker started with the reader sleeps when no list comes for a while:
// a list then wakes it, and a reader whose worker sleeps ends at once.
TEST(ReadAheadWorker, WakesForAListAfterSleeping) {
  std::string text = MeshText(GridLists(90, 80, false), Layout{});
  XParseResult alone = Read(text, SIZE_MAX, kLong);
  auto asleep = std::chrono::duration_cast<std::chrono::milliseconds>(XValuesAhead::kStayAwake * 3);
  XParseResult late = Read(text, 4096, kLong, asleep);
  EXPECT_TRUE(late.ok) << late.error;
  EXPECT_EQ(late.mesh.vertexBytes, alone.mesh.vertexBytes);
  EXPECT_EQ(late.mesh.indices, alone.mesh.indices);
  EXPECT_GT(late.valuesTakenAhead, 0u);
  // Long enough for a worker, with no list in it.
  XParseResult unused = Read(std::string(4 * 4096, ' '), 4096, kLong, asleep);
  EXPECT_EQ(unused.valuesTakenAhead, 0u);
}

// A worker awake for the next list says so, for the idle-core count to leave
// it out, and stops saying so once it sleeps.
TEST(ReadAheadWorker, SaysWhileItSpinsForAList) {
  XValuesAhead ahead;
  ASSERT_TRUE(ahead.Prepare());
  auto until = [&ahead](bool spinning) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ahead.Spinning() != spinning && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    return ahead.Spinning() == spinning;
  };
  EXPECT_TRUE(until(true));
  EXPECT_TRUE(until(false));
}

INSTANTIATE_TEST_SUITE_P(Lists, ReadAhead, testing::ValuesIn(kCases), [](const testing::TestParamInfo<Case>& info) {
  std::string name;
  for (const char* c = info.param.name; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return name;
});

}  // namespace
