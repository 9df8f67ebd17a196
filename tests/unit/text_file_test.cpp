#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config/sensor_directory.h"

namespace tavorine {
namespace {

std::vector<std::string> Pieces(std::string_view text, std::size_t maxChars) {
  std::vector<std::string> pieces;
  PieceReader reader(text, maxChars);
  std::string piece;
  while (reader.Next(piece)) pieces.push_back(piece);
  return pieces;
}

TEST(PieceReader, SplitsLikeACLineReader) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(Pieces("", 5), Lines{});
  EXPECT_EQ(Pieces("ab\ncd", 5), (Lines{"ab", "cd"}));
  EXPECT_EQ(Pieces("ab\r\ncd\r\n", 5), (Lines{"ab", "cd"}));
  EXPECT_EQ(Pieces("abcd\n", 5), Lines{"abcd"});
  EXPECT_EQ(Pieces("abcde\n", 5), (Lines{"abcde", ""}));
  EXPECT_EQ(Pieces("abcdefgh\n", 5), (Lines{"abcde", "fgh"}));
  EXPECT_EQ(Pieces("a\rb\n", 5), Lines{"a\rb"});
  EXPECT_EQ(Pieces(std::string("a\0b\nc", 5), 5), (Lines{"a", "c"}));
  EXPECT_EQ(Pieces("\n\n", 5), (Lines{"", ""}));
}

TEST(TextFile, DeletesFilesButNeverAFolderOfThatName) {
  const auto folder = std::filesystem::temp_directory_path() / "tavorine-delete-test";
  std::filesystem::create_directories(folder / "Empty.Trc");
  std::ofstream(folder / "File.Trc") << "trace";
  const auto windows = [&folder](const char* name) { return (folder / name).string(); };
  DeleteRegularFile(windows("Empty.Trc"));
  DeleteRegularFile(windows("File.Trc"));
  DeleteRegularFile(windows("Missing.Trc"));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "Empty.Trc"));
  EXPECT_FALSE(std::filesystem::exists(folder / "File.Trc"));
  std::filesystem::remove_all(folder);
}

TEST(SensorDirectory, PathFileNamesItsLastDirectoryLine) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"C:\\PRTG\n", "C:\\PRTG"},
      {"D:\\One\r\nE:\\Two\r\n", "E:\\Two"},
      {"\\\\server\\share\n", "\\\\server\\share"},
      {"ab\\c\n", "ab\\c"},
      {"C:relative\n", "C:relative"},
      {"plain words\nno dirs\n", ""},
      {"D:\\Dir\ncomment\n", "D:\\Dir"},
      {std::string(99, 'x') + "D:\\Piece\n", "D:\\Piece"},
      {std::string(98, 'x') + "D:\\Piece\n", ""},
  };
  for (const auto& [text, directory] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(PathFileDirectory(text), directory);
  }
}

TEST(SensorDirectory, AcceptsOnlyExeXmlFolders) {
  EXPECT_TRUE(IsExeXmlDirectory("C:\\PRTG\\Custom Sensors\\ExeXml\\"));
  EXPECT_TRUE(IsExeXmlDirectory("C:\\MyEXEXML\\"));
  EXPECT_TRUE(IsExeXmlDirectory("exexml\\"));
  EXPECT_FALSE(IsExeXmlDirectory("xexml\\"));
  EXPECT_FALSE(IsExeXmlDirectory("C:\\ExeXml2\\"));
  EXPECT_FALSE(IsExeXmlDirectory(""));
  EXPECT_FALSE(IsExeXmlDirectory("\\"));
}

}  // namespace
}  // namespace tavorine
