#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "config/listing_file.h"
#include "config/sensor_directory.h"
#include "platform/files/delete_file.h"
#include "platform/files/input_file.h"
#include "platform/files/windows_path.h"
#include "platform/process/private_folder.h"
#include "platform/process/process_id.h"
#include "platform/text/piece_reader.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tavorine {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Pieces(std::string_view text, std::size_t maxChars, std::size_t chunk) {
  TextStream stream(text, chunk);
  PieceReader reader(stream, maxChars);
  std::vector<std::string> pieces;
  std::string piece;
  while (reader.Next(piece)) pieces.push_back(piece);
  return pieces;
}

// However the reads cut the text, and CR LF above all, the pieces are those
// of a C line reader.
TEST(PieceReader, SplitsLikeACLineReaderWhereverTheReadsEnd) {
  using Lines = std::vector<std::string>;
  const std::vector<std::pair<std::string, Lines>> cases = {
      {"", {}},
      {"ab\ncd", {"ab", "cd"}},
      {"ab\r\ncd\r\n", {"ab", "cd"}},
      {"abcd\n", {"abcd"}},
      {"abcde\n", {"abcde", ""}},
      {"abcde\r\n", {"abcde", ""}},
      {"abcdefgh\n", {"abcde", "fgh"}},
      {"a\rb\n", {"a\rb"}},
      {"abcd\r", {"abcd\r"}},
      {std::string("a\0b\nc", 5), {"a", "c"}},
      {"\n\n", {"", ""}},
  };
  for (const auto& [text, lines] : cases) {
    for (std::size_t chunk = 0; chunk <= 3; ++chunk) {
      SCOPED_TRACE(text + " in chunks of " + std::to_string(chunk));
      EXPECT_EQ(Pieces(text, 5, chunk), lines);
    }
  }
}

TEST(SensorDirectory, PathFileNamesItsLastDirectoryLine) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"C:\\PRTG\n", "C:\\PRTG"},
      {"D:\\One\r\nE:\\Two\r\n", "E:\\Two"},
      {"\\\\server\\share\n", "\\\\server\\share"},
      {"ab\\c\n", "ab\\c"},
      {"C:relative\n", "C:relative"},
      {"plain words\nno dirs\n", ""},
      {std::string(99, 'x') + "D:\\Piece\n", "D:\\Piece"},
      {std::string(98, 'x') + "D:\\Piece\n", ""},
  };
  for (const auto& [text, directory] : cases) {
    SCOPED_TRACE(text);
    TextStream stream(text);
    EXPECT_EQ(PathFileDirectory(stream), directory);
  }
}

struct SearchCase {
  std::string name;
  std::optional<std::string> pathFile;  // what it names; none: no path file
  std::set<std::string> files;
  std::string expected;  // the directory, or the message
};

TEST(SensorDirectory, SearchRules) {
  const std::string kInstall = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
  const std::string kMissing = "Error 1002: Profile S.P00 is missing...";
  const std::string kSorry = "Sorry, invalid Path-Usage...";
  const std::vector<SearchCase> cases = {
      {"path file above the installation", "D:\\Mon", {"D:\\Mon\\" + kInstall + "S.P00"}, "D:\\Mon\\" + kInstall},
      {"path file naming the installation", "D:\\PRTG\\", {"D:\\PRTG\\Custom Sensors\\ExeXml\\S.P00"},
       "D:\\PRTG\\Custom Sensors\\ExeXml\\"},
      {"path file naming the ExeXml folder", "D:\\X\\ExeXml", {"D:\\X\\ExeXml\\S.P00"}, "D:\\X\\ExeXml\\"},
      {"path file is final", "D:\\Empty", {"\\Program Files\\" + kInstall + "S.P00"}, kMissing},
      {"path file without a directory line: the drive's root", "", {"\\S.P00"}, kSorry},
      {"no path file: the working directory first", std::nullopt, {"S.P00", "\\Programme\\" + kInstall + "S.P00"},
       kSorry},
      {"no path file: the fixed folders in order", std::nullopt,
       {"\\Program Files\\" + kInstall + "S.P00", "\\Program Files (x86)\\" + kInstall + "S.P00"},
       "\\Program Files\\" + kInstall},
      {"any folder ending in ExeXml", "D:\\MyEXEXML", {"D:\\MyEXEXML\\S.P00"}, "D:\\MyEXEXML\\"},
      {"a character after ExeXml", "D:\\ExeXml2", {"D:\\ExeXml2\\S.P00"}, kSorry},
      {"nowhere", std::nullopt, {}, kMissing},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto found = SearchSensorDirectory("S.P00", c.pathFile, [&c](const std::string& path) {
      return c.files.count(path) > 0;
    });
    const auto* failure = std::get_if<RunFailure>(&found);
    EXPECT_EQ(failure ? failure->message : std::get<std::string>(found), c.expected);
  }
}

TEST(ListingEntries, OnlyFilesInTheSensorFolderOrBelow) {
  for (const char* entry : {"SYS.P00", "sub\\SYS.P00", "sub/SYS.P00", "a..b.P00", ".hidden", ""}) {
    EXPECT_TRUE(StaysInSensorFolder(entry)) << entry;
  }
  for (const char* entry : {"..\\SYS.P00", "../SYS.P00", "sub\\..\\..\\x", "\\SYS.P00", "/tmp/SYS.P00",
                            "C:SYS.P00", "SYS.P00:stream", "... \\x", ".. /x", "sub\\. .\\x"}) {
    EXPECT_FALSE(StaysInSensorFolder(entry)) << entry;
  }
}

// A drive C of its own (on Windows, a folder in its place).
class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("tavorine-files-" + std::to_string(std::rand()));
    fs::create_directories(folder_ / "C" / "Sensors");
#ifndef _WIN32
    setenv("TAVORINE_DRIVE_ROOT", folder_.c_str(), 1);
#endif
  }
  void TearDown() override {
#ifndef _WIN32
    unsetenv("TAVORINE_DRIVE_ROOT");
#endif
    fs::remove_all(folder_);
  }
  // The file's name as the program is given it.
  std::string Windows(const std::string& below) const {
#ifdef _WIN32
    return (folder_ / "C" / below).string();
#else
    return "C:\\" + below;
#endif
  }
  std::string Put(const std::string& below, std::string_view bytes = "x") {
    std::ofstream(folder_ / "C" / below, std::ios::binary) << bytes;
    return Windows(below);
  }
  fs::path folder_;
};

TEST_F(Files, OnlyRegularFilesWithinTheLimitAreRead) {
  const std::string file = Put("file.txt", "some text");
  fs::create_directories(folder_ / "C" / "folder");
  Put("large.txt");
  fs::resize_file(folder_ / "C" / "large.txt", kInputFileLimit + 1);
  EXPECT_EQ(ReadWholeFile(file).bytes, "some text");
  EXPECT_EQ(ReadWholeFile(Windows("folder")).fault, WholeFileFault::Missing);
  EXPECT_EQ(ReadWholeFile(Windows("none")).fault, WholeFileFault::Missing);
  EXPECT_EQ(ReadWholeFile(Windows("large.txt")).fault, WholeFileFault::TooLarge);
#ifndef _WIN32
  ASSERT_EQ(mkfifo((folder_ / "C" / "fifo").c_str(), 0600), 0);
  EXPECT_EQ(ReadWholeFile(Windows("fifo")).fault, WholeFileFault::Missing);
#endif
  DeleteRegularFile(Windows("folder"));
  DeleteRegularFile(file);
  EXPECT_TRUE(fs::is_directory(folder_ / "C" / "folder"));
  EXPECT_FALSE(fs::exists(folder_ / "C" / "file.txt"));
}

// Process ids come round again: folders left by a killed run of an earlier
// process with this id never keep a worker from a folder of its own.
TEST(PrivateFolders, LeftoversOfAnEarlierProcessWithTheSameIdTakeNoName) {
  const fs::path temp = fs::temp_directory_path();
  const std::string pid = std::to_string(CurrentProcessId());
  for (int count = 0; count < 200; ++count) fs::create_directory(temp / ("Tavorine." + pid + "." + std::to_string(count)));
  std::set<std::string> made;
  {
    const PrivateFolder first, second;
    made = {first.Path(), second.Path()};
    EXPECT_TRUE(fs::is_directory(first.Path()) && fs::is_directory(second.Path()));
  }
  for (int count = 0; count < 200; ++count) fs::remove(temp / ("Tavorine." + pid + "." + std::to_string(count)));
  EXPECT_EQ(made.size(), 2u);
  EXPECT_FALSE(made.count(""));
  for (const std::string& folder : made) EXPECT_FALSE(fs::exists(folder));
}

#ifndef _WIN32
// Names mean on the Linux build what they mean on Windows.
TEST_F(Files, WindowsNamesOnPosix) {
  Put("Sensors/demo.p00");
  Put("Sensors/SapRfc.DEV");
  fs::create_directories(folder_ / "C" / "Sub");
  const std::string c = (folder_ / "C").string();
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"C:\\SENSORS\\DEMO.P00", c + "/Sensors/demo.p00"},
      {"c:/sensors/Demo.P00", c + "/Sensors/demo.p00"},
      {"C:\\Sensors\\SapRfc.DEV ", c + "/Sensors/SapRfc.DEV"},
      {"C:\\Sensors\\SapRfc.DEV. .", c + "/Sensors/SapRfc.DEV"},
      {"C:\\Sub.\\x", c + "/Sub/x"},
      {"C:\\..\\..\\Sensors\\.\\demo.p00", c + "/Sensors/demo.p00"},
      {"C:\\Sensors\\...\\x", c + "/Sensors/.../x"},
      {"C:\\Sensors\\New File.txt", c + "/Sensors/New File.txt"},
  };
  for (const auto& [windows, native] : cases) EXPECT_EQ(NativePath(windows), native) << windows;
}
#endif

}  // namespace
}  // namespace tavorine
