#include <gtest/gtest.h>

#include "base/command_line.h"
#include "base/program_globals.h"

namespace {

class CommandLineTest : public testing::Test {
 protected:
  void TearDown() override { SetCommandLine(0, nullptr); }
  void Use(std::vector<const char*> words) {
    arguments = std::move(words);
    SetCommandLine(static_cast<int>(arguments.size()), const_cast<char**>(arguments.data()));
  }
  std::vector<const char*> arguments;
};

TEST_F(CommandLineTest, OptionMatchesOnlyWholeArgumentExactly) {
  Use({"viewer", "/p/Foo", "-win", "-dbf"});
  EXPECT_TRUE(HasOption("-dbf"));
  EXPECT_TRUE(HasOption("-win"));
  EXPECT_FALSE(HasOption("-full"));
  EXPECT_FALSE(HasOption("-DBF"));
  EXPECT_FALSE(HasOption("-db"));
  EXPECT_FALSE(HasOption("-dbf "));
  Use({"viewer", "/p/Foo", "-dbfx", "x-dbf"});
  EXPECT_FALSE(HasOption("-dbf"));
}

TEST_F(CommandLineTest, ProgramNameIsNotAnOption) {
  Use({"-dbf"});
  EXPECT_FALSE(HasOption("-dbf"));
  EXPECT_EQ(PluginArgument(), nullptr);
}

TEST_F(CommandLineTest, NoArgumentsAtAll) {
  Use({});
  EXPECT_FALSE(HasOption("-dbf"));
  EXPECT_EQ(PluginArgument(), nullptr);
}

TEST_F(CommandLineTest, FirstArgumentIsPluginPathEvenWhenItLooksLikeAnOption) {
  Use({"viewer", "-dbf", "/p/Foo"});
  EXPECT_STREQ(PluginArgument(), "-dbf");
  EXPECT_TRUE(HasOption("-dbf"));
}

}  // namespace
