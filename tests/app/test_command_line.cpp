// The kvpublic program as scripts use it: arguments, exit codes, messages,
// answers to the overwrite question, layouts and the demo.  The built program
// runs in a session of its own (no controlling terminal, stdin empty), as in a
// batch job.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/CodePage.h"
#include "platform/Streams.h"
#include "support/ViewFixture.h"

extern char** environ;

namespace kv {
namespace {

using testing::TScratchDir;

struct TRun {
  int Code = -1;
  std::string Out, Err;
};

TRun RunProgram(const std::vector<std::string>& AArgs, const TScratchDir& ADir) {
  std::string program = std::string(KV_BINARY_DIR) + "/kvpublic";
  std::vector<std::string> args = {program};
  args.insert(args.end(), AArgs.begin(), AArgs.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::string outFile = ADir.File(".stdout"), errFile = ADir.File(".stderr");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
  pid_t pid;
  TRun run;
  int rc = posix_spawn(&pid, program.c_str(), &actions, &attr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) {
    ADD_FAILURE() << "cannot start " << program;
    return run;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  run.Code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.Out = ReadFileBytes(outFile);
  run.Err = ReadFileBytes(errFile);
  std::remove(outFile.c_str());
  std::remove(errFile.c_str());
  return run;
}

bool Contains(const std::string& AText, const std::string& APart) { return AText.find(APart) != std::string::npos; }

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("orders.csv", "id,name,day\n1,张三,2024-03-05\n2,李四,2024-12-31\n");
    csv = dir.File("orders.csv");
  }
  TScratchDir dir;
  std::string csv;
};

TEST_F(CommandLine, BadArgumentsExitWithTwoAndTheUsage) {
  const struct {
    std::vector<std::string> Args;
    const char* Message;
  } cases[] = {
      {{}, "a command is missing"},
      {{"convert"}, "unknown command \"convert\""},
      {{"export", "--csv", "a.csv", "--output", "o.dbf"}, "--format is missing (dbf, xls, txt, html, xml)"},
      {{"export", "--csv", "a.csv", "--format", "pdf", "--output", "o"},
       "unknown format \"pdf\" (supported: dbf, xls, txt, html, xml)"},
      {{"export", "--csv", "a.csv", "--format", "xls", "--output", "o", "--separator", ";"},
       "--separator goes with --format txt only"},
      {{"export", "--csv", "a.csv", "--format", "dbf", "--output", "o", "--suffix=", "--prefix=["},
       "--suffix goes with --format txt only"},
      {{"export", "--csv", "a.csv", "--format", "txt", "--output", "o", "--prefix"}, "option --prefix needs a value"},
      {{"export", "--csv", "a.csv", "--format", "txt", "--output", "o", "--separator=", "--separator", ","},
       "option --separator is given twice"},
      {{"export", "--csv", "a.csv", "--format", "txt", "--output="}, "option --output needs a value"},
      {{"export", "--db", "a.db", "--csv", "a.csv", "--format", "dbf", "--output", "o"}, "either --db or --csv"},
      {{"export", "--db", "a.db", "--format", "dbf", "--output", "o"}, "--db needs --table NAME or --query SQL"},
      {{"export", "--db", "a.db", "--table", "t", "--query", "q", "--format=dbf", "--output=o"},
       "either --table or --query"},
      {{"export", "--csv", "a.csv", "--table", "t", "--format", "dbf", "--output", "o"}, "go with --db"},
      {{"export", "--format", "dbf", "--output", "o"}, "the data to export is missing"},
      {{"export", "--csv", "a.csv", "--format", "dbf"}, "--output PATH is missing"},
      {{"export", "--csv", "a.csv", "--format", "dbf", "--output", "o", "--yes", "--no"}, "--yes and --no cannot"},
      {{"export", "--csv", "a.csv", "--format", "dbf", "--output", "o", "--force"}, "unknown option --force"},
      {{"export", "--csv", "a.csv", "--format", "dbf", "--output"}, "option --output needs a value"},
      {{"export", "--csv", "a.csv", "--csv", "b.csv", "--format", "dbf", "--output", "o"},
       "option --csv is given twice"},
      {{"export", "--csv", "a.csv", "stray", "--format", "dbf", "--output", "o"}, "unexpected argument \"stray\""},
      {{"demo", "a", "b"}, "demo takes at most one folder"},
  };
  for (const auto& c : cases) {
    TRun run = RunProgram(c.Args, dir);
    EXPECT_EQ(run.Code, 2) << c.Message;
    EXPECT_TRUE(Contains(run.Err, c.Message)) << run.Err;
    EXPECT_TRUE(Contains(run.Err, "usage:")) << run.Err;
  }
  TRun help = RunProgram({"--help"}, dir);
  EXPECT_EQ(help.Code, 0);
  EXPECT_TRUE(Contains(help.Out, "kvpublic export"));
}

TEST_F(CommandLine, WritesAndAnswersTheOverwriteQuestion) {
  std::string out = dir.File("orders.dbf");
  TRun first = RunProgram({"export", "--csv", csv, "--format", "dbf", "--output", dir.File("orders")}, dir);
  EXPECT_EQ(first.Code, 0) << first.Err;
  EXPECT_EQ(first.Out, "kvpublic: wrote " + out + " (2 records)\n");
  EXPECT_EQ(first.Err, "");  // no progress when stderr is not a terminal
  std::string written = ReadFileBytes(out);

  dir.Write("orders.dbf", "keep me");
  TRun no = RunProgram({"export", "--csv", csv, "--format", "dbf", "--output", out, "--no"}, dir);
  EXPECT_EQ(no.Code, 3);
  EXPECT_TRUE(Contains(no.Err, "exists and was kept")) << no.Err;
  EXPECT_EQ(ReadFileBytes(out), "keep me");

  // Nobody to ask: the question is shown and answered No.
  TRun batch = RunProgram({"export", "--csv", csv, "--format", "dbf", "--output", out}, dir);
  EXPECT_EQ(batch.Code, 3);
  EXPECT_TRUE(Contains(batch.Err, "[提示信息]\n  文件: " + out + " 已经存在,\n是否替换原有文件? \n(yes/no) no"))
      << batch.Err;
  EXPECT_EQ(ReadFileBytes(out), "keep me");

  TRun yes = RunProgram({"export", "--csv", csv, "--format", "dbf", "--output", out, "--yes"}, dir);
  EXPECT_EQ(yes.Code, 0) << yes.Err;
  EXPECT_EQ(ReadFileBytes(out).substr(32), written.substr(32));  // the same table (dates in the header aside)
}

// Every format goes through the library's prompt: the extension fix-up, the
// overwrite question and the exit codes are the same for all of them.
TEST_F(CommandLine, EveryFormatAnswersThePromptAndTheQuestionAlike) {
  const struct {
    const char* Format;
    const char* Extension;
    std::string Start;  // the first bytes of a written file
  } formats[] = {
      {"xls", ".xls", std::string("\xD0\xCF\x11\xE0", 4)},
      {"txt", ".txt", "orders  "},  // the default view's band: the CSV file's base name
      {"html", ".html", "<"},
      {"xml", ".xml", "<?xml"},
      {"dbf", ".dbf", "\x03"},
  };
  for (const auto& f : formats) {
    std::string out = dir.File(std::string("out") + f.Extension);
    TRun first = RunProgram({"export", "--csv", csv, "--format", f.Format, "--output", dir.File("out")}, dir);
    ASSERT_EQ(first.Code, 0) << f.Format << first.Err;
    EXPECT_EQ(first.Out, "kvpublic: wrote " + out + " (2 records)\n");
    EXPECT_EQ(first.Err, "");
    EXPECT_EQ(ReadFileBytes(out).substr(0, f.Start.size()), f.Start) << f.Format;

    dir.Write(std::string("out") + f.Extension, "keep me");
    TRun no = RunProgram({"export", "--csv", csv, "--format", f.Format, "--output", out, "--no"}, dir);
    EXPECT_EQ(no.Code, 3) << f.Format;
    TRun batch = RunProgram({"export", "--csv", csv, "--format", f.Format, "--output", out}, dir);
    EXPECT_EQ(batch.Code, 3) << f.Format;
    EXPECT_TRUE(Contains(batch.Err, "  文件: " + out + " 已经存在,")) << batch.Err;
    EXPECT_EQ(ReadFileBytes(out), "keep me") << f.Format;
    TRun yes = RunProgram({"export", "--csv", csv, "--format", f.Format, "--output", out, "--yes"}, dir);
    EXPECT_EQ(yes.Code, 0) << f.Format << yes.Err;
    EXPECT_EQ(ReadFileBytes(out).substr(0, f.Start.size()), f.Start) << f.Format;
  }
  // The XML document has its stylesheet beside it.
  EXPECT_TRUE(FileExists(dir.File("out.xsl")));
  // An upper-case extension stays, and that very file is written.
  TRun upper = RunProgram({"export", "--csv", csv, "--format", "xls", "--output", dir.File("BOOK.XLS")}, dir);
  EXPECT_EQ(upper.Code, 0) << upper.Err;
  EXPECT_TRUE(FileExists(dir.File("BOOK.XLS")));
  EXPECT_FALSE(FileExists(dir.File("BOOK.xls")));
}

TEST_F(CommandLine, TextFormatTextsGoToTheTextWriter) {
  // Lines: the band header, the column headers, the records.
  const struct {
    std::vector<std::string> Options;
    std::string Record;  // the first record's line (GBK)
  } cases[] = {
      {{}, "1   " + ToSystemBytes("张三") + "  2024-03-05  "},
      {{"--separator=;"}, "1;" + ToSystemBytes("张三") + ";2024-03-05"},
      {{"--separator", ",", "--prefix", "\"", "--suffix", "\""},
       "\"1\",\"" + ToSystemBytes("张三") + "\",\"2024-03-05\""},
      // An empty separator is no separator: the cells are padded again.
      {{"--separator=", "--prefix=<", "--suffix=>"}, "<1>   <" + ToSystemBytes("张三") + ">  <2024-03-05>  "},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"export", "--csv", csv, "--format", "txt", "--output", dir.File("t"), "--yes"};
    args.insert(args.end(), c.Options.begin(), c.Options.end());
    TRun run = RunProgram(args, dir);
    ASSERT_EQ(run.Code, 0) << run.Err;
    std::string text = ReadFileBytes(dir.File("t.txt"));
    std::vector<std::string> lines;
    for (size_t pos = 0, end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
      lines.push_back(text.substr(pos, end - pos));
    ASSERT_EQ(lines.size(), 4u) << text;
    EXPECT_EQ(lines[2], c.Record) << text;
  }
}

TEST_F(CommandLine, ErrorsExitWithOneAndAMessage) {
  dir.Write("text.db", std::string(200, 't'));
  dir.Write("ragged.csv", "a,b\n1,2\n3\n");
  dir.Write("bad-layout.json", R"({"columns": [{"field": "nope"}]})");
  dir.Write("table.json", R"({"view": "table"})");
  const struct {
    std::vector<std::string> Args;
    std::string Message;
  } cases[] = {
      {{"export", "--db", dir.File("none.db"), "--table", "t"},
       "kvpublic: cannot open database \"" + dir.File("none.db") + "\": the file does not exist.\n"},
      {{"export", "--db", dir.File("text.db"), "--table", "t"},
       "kvpublic: \"" + dir.File("text.db") + "\" is not an SQLite database.\n"},
      {{"export", "--db", dir.File("text.db"), "--query", "select * from t"}, "is not an SQLite database"},
      {{"export", "--csv", dir.File("ragged.csv")},
       "kvpublic: " + dir.File("ragged.csv") + ", line 3: 1 value, but the header names 2 columns.\n"},
      {{"export", "--csv", csv, "--layout", dir.File("bad-layout.json")},
       "kvpublic: layout " + dir.File("bad-layout.json") + ": column 1: the data has no field \"nope\"\n"},
      {{"export", "--csv", csv, "--layout", dir.File("none.json")}, "the file does not exist"},
      {{"export", "--csv", csv, "--layout", dir.File("table.json")},
       "kvpublic: layout " + dir.File("table.json") +
           ": the dbf format needs a banded view, and the layout has \"view\": \"table\"\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.Args;
    for (const char* a : {"--format", "dbf", "--output", "x.dbf", "--yes"}) args.push_back(a);
    TRun run = RunProgram(args, dir);
    EXPECT_EQ(run.Code, 1) << c.Message;
    EXPECT_TRUE(Contains(run.Err, c.Message)) << run.Err;
    EXPECT_EQ(run.Out, "");
  }
  // An output folder that does not exist: the class library's file error.
  TRun missing = RunProgram({"export", "--csv", csv, "--format", "dbf", "--output", dir.File("no/dir/x.dbf")}, dir);
  EXPECT_EQ(missing.Code, 1);
  EXPECT_TRUE(Contains(missing.Err, "kvpublic: Cannot create file \"" + dir.File("no/dir/x.dbf") + "\"."))
      << missing.Err;
  EXPECT_FALSE(FileExists(dir.File("x.dbf")));
}

TEST_F(CommandLine, LayoutChoosesColumnsInItsOrder) {
  dir.Write("layout.json", R"({"columns": [
      {"field": "DAY", "caption": "日期", "width": 80},
      {"field": "name", "visible": false},
      {"caption": "签收人"},
      {"field": "id"}]})");
  TRun run = RunProgram(
      {"export", "--csv", csv, "--layout", dir.File("layout.json"), "--format", "dbf", "--output", dir.File("l.dbf")},
      dir);
  ASSERT_EQ(run.Code, 0) << run.Err;
  std::string bytes = ReadFileBytes(dir.File("l.dbf"));
  ASSERT_EQ(static_cast<uint8_t>(bytes[8]), 32 * 3 + 33);   // day, unbound, id
  EXPECT_EQ(bytes.substr(32 + 16, 1), std::string(1, 12));  // F0: the date, C 12
  EXPECT_EQ(bytes.substr(64 + 16, 1), std::string(1, 10));  // F1: unbound, C 10
  EXPECT_EQ(bytes.substr(96 + 16, 1), std::string(1, 11));  // F2: integer, C 11
  size_t record = 32 * 3 + 33;
  EXPECT_EQ(bytes.substr(record, 1 + 12 + 10 + 11), " 20240305    " + std::string(10, ' ') + "1          ");

  dir.Write("broken.json", R"({"columns": [{"field": "id", "visable": false}]})");
  TRun broken = RunProgram(
      {"export", "--csv", csv, "--layout", dir.File("broken.json"), "--format", "dbf", "--output", dir.File("b.dbf")},
      dir);
  EXPECT_EQ(broken.Code, 1);
  EXPECT_TRUE(Contains(broken.Err, "column 1: unknown key \"visable\"")) << broken.Err;
}

TEST_F(CommandLine, DemoWritesTheSampleTableAgainAndAgain) {
  std::string demo = dir.File("demo");
  for (int i = 0; i < 2; ++i) {
    TRun run = RunProgram({"demo", demo}, dir);
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_TRUE(Contains(run.Out, "wrote " + demo + "/orders.dbf (3000 records)")) << run.Out;
  }
  EXPECT_TRUE(FileExists(demo + "/shop.db"));
  EXPECT_TRUE(FileExists(demo + "/orders.dbt"));
  std::string bytes = ReadFileBytes(demo + "/orders.dbf");
  EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0x83);
  EXPECT_EQ(static_cast<uint8_t>(bytes[4]) | static_cast<uint8_t>(bytes[5]) << 8, 3000);
}

// The shared library exports its functions under exactly their names (C
// linkage, no decoration) as defined, visible functions.
TEST(SharedLibrary, ExportsTheFunctionsUnderTheirNames) {
  std::string command = "nm -D --defined-only " + std::string(KV_BINARY_DIR) + "/libkvpublic.so";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string listing;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) listing.append(buffer, n);
  ASSERT_EQ(::pclose(pipe), 0) << command;
  EXPECT_TRUE(Contains(listing, " T ConvertToDBF\n"));
  EXPECT_TRUE(Contains(listing, " T ConvertToExcel\n"));
}

}  // namespace
}  // namespace kv
