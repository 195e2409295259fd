// veskres check and veskres format: run in-process with string streams, and through the built
// executable.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <sys/wait.h>

#include "../model/testsupport.h"
#include "cli/commands.h"

namespace vesk {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::string kDemoPath = std::string(VESK_SOURCE_DIR) + "/examples/demo.veskspro";
const std::string kVeskres = std::string(VESK_RUNTIME_DIR) + "/veskres";

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

RunResult Check(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    int status = cli::RunCheck(args, out, err);
    return {status, out.str(), err.str()};
}

RunResult Format(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    int status = cli::RunFormat(args, out, err);
    return {status, out.str(), err.str()};
}

/// Runs a shell command line; answers its exit status and standard output.
RunResult Shell(const std::string& command)
{
    RunResult run{-1, {}, {}};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// --- check ----------------------------------------------------------------------------------

TEST(Check, CountsDialogsGroupsAndObjects)
{
    RunResult run = Check({kDemoPath});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, kDemoPath + ": 3 dialogs, 11 groups, 22 objects\n");
    EXPECT_EQ(run.err, "");
}

TEST(Check, EveryFileGetsItsLineAndAnyFailureFails)
{
    TempDir dir;
    WriteBytes(dir.File("one.json"), "{'Commands':[{'Command':'DIALOG','Name':'A','Type':'BUTTON'}]}");
    WriteBytes(dir.File("empty.json"), "{'Commands':[]}");
    const std::string missing = dir.File("missing.json");
    RunResult run = Check({dir.File("one.json"), missing, dir.File("empty.json")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, dir.File("one.json") + ": 1 dialogs, 0 groups, 1 objects\n" + "cannot read " + missing +
                           ": No such file or directory\n" + dir.File("empty.json") +
                           ": 0 dialogs, 0 groups, 0 objects\n");
}

TEST(Check, ParseErrorsAreReported)
{
    TempDir dir;
    const std::string path = dir.File("bad.veskspro");
    WriteBytes(path, "{'Name':'x',\n'Commands':[}\n");
    RunResult run = Check({path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, path + ": Parse error\n line:2  byte:26\n show from 0 byte\n\n"
                              "{'Name':'x','Commands':[}!\n\nput '!' at error pos. under 0x20, (Hex).\n");
}

TEST(Check, ParseErrorExcerptIsShownAsUtf8)
{
    TempDir dir;
    const std::string path = dir.File("bad.veskspro");
    WriteBytes(path, "{'Name':'" + test::Sjis("注文") + "',]");
    RunResult run = Check({path});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("{'Name':'注文',]!"), std::string::npos) << run.out;
}

TEST(Check, ParseErrorExcerptIsReadInTheFilesEncoding)
{
    // The excerpt alone (c, a, f and the two bytes of é) would also read as Shift_JIS.
    TempDir dir;
    const std::string path = dir.File("bad.json");
    WriteBytes(path, "{'Name':'効果音',\n'DeviceWidth':480,\n'Commands':[café]}\n");
    RunResult run = Check({path});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("'DeviceWidth':480,'Commands':[c!afé]}"), std::string::npos) << run.out;
}

TEST(Check, UsageErrors)
{
    RunResult none = Check({});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("usage: veskres check FILE..."), std::string::npos);
    EXPECT_EQ(none.out, "");
    RunResult option = Check({"--verbose", kDemoPath});
    EXPECT_EQ(option.status, 2);
    EXPECT_NE(option.err.find("unknown option --verbose"), std::string::npos);
}

// --- format ---------------------------------------------------------------------------------

TEST(Format, FormattedFileComesOutUnchanged)
{
    RunResult run = Format({kDemoPath});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, ReadBytes(kDemoPath));
    EXPECT_EQ(run.err, "");
}

TEST(Format, OutputOfFormatIsAFixedPoint)
{
    TempDir dir;
    const std::string loose = dir.File("loose.json");
    WriteBytes(loose, "{ \"Name\" : \"P\", \"DeviceWidth\": 320,\n \"Commands\": [ {\"Command\":\"DIALOG\", "
                      "\"Name\":\"M\", \"Object\": {\"Layout\":\"LINEAR\", \"Objects\": [ {\"Type\":\"TEXT\", "
                      "\"Text\":\"it's\", \"Weight\": 1.5} ]}} ] }");
    RunResult first = Format({loose});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "{'Name':'P','DeviceWidth':320,'Commands':[\n"
                         "\t{'Command':'DIALOG','Name':'M','Object':\n"
                         "\t\t{'Type':'GROUP','Layout':'LINEAR','NotifyList':'Name','Objects':[\n"
                         "\t\t\t{'Type':'TEXT','Weight':1.500000,'Text':'it\\u0027s','NotifyList':'Name,Text'}\n"
                         "\t\t]}\n"
                         "\t}\n"
                         "]}\n");
    const std::string formatted = dir.File("formatted.json");
    WriteBytes(formatted, first.out);
    RunResult second = Format({formatted});
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.out, first.out);
}

TEST(Format, DialogOption)
{
    RunResult order = Format({kDemoPath, "--dialog", "Order"});
    EXPECT_EQ(order.status, 0);
    EXPECT_EQ(order.out.rfind("{'Name':'DemoTerminal','DeviceWidth':480,'DeviceHeight':800,'Commands':[\n"
                              "\t{'Command':'DIALOG','Name':'Order',",
                              0),
              0u)
        << order.out;
    EXPECT_EQ(order.out.find("'Name':'Main'"), std::string::npos);
    RunResult none = Format({kDemoPath, "--dialog=Nope"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "{'Name':'DemoTerminal','DeviceWidth':480,'DeviceHeight':800,'Commands':[\n\n]}\n");
}

TEST(Format, JapaneseDialogNameGivenInUtf8)
{
    TempDir dir;
    const std::string name = test::Sjis("注文画面");
    const std::string path = dir.File("jp.json");
    WriteBytes(path, "{'Commands':[{'Command':'DIALOG','Name':'" + name +
                         "','Object':{'Objects':[]}},{'Command':'DIALOG','Name':'Other','Object':{'Objects':[]}}]}");
    RunResult run = Format({path, "--dialog", "注文画面"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("'Name':'" + name + "'"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("'Name':'Other'"), std::string::npos);
}

TEST(Format, OutputFileIsWrittenAtomically)
{
    TempDir dir;
    const std::string out = dir.File("out.veskspro");
    WriteBytes(out, "previous");
    RunResult run = Format({kDemoPath, "-o", out});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadBytes(out), ReadBytes(kDemoPath));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.veskspro"});

    RunResult longForm = Format({kDemoPath, "--dialog", "Main", "--output", out});
    EXPECT_EQ(longForm.status, 0);
    EXPECT_EQ(ReadBytes(out).find("'Name':'Order'"), std::string::npos);

    // A folder in the way: nothing is written and the folder stays.
    const std::string folder = dir.File("folder");
    std::filesystem::create_directory(folder);
    RunResult blocked = Format({kDemoPath, "-o", folder});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_EQ(blocked.err.rfind("veskres format: cannot write " + folder, 0), 0u) << blocked.err;
    EXPECT_TRUE(std::filesystem::is_directory(folder));

    RunResult missingFolder = Format({kDemoPath, "-o", dir.File("no/such/out.json")});
    EXPECT_EQ(missingFolder.status, 1);
    EXPECT_NE(missingFolder.err.find("cannot write"), std::string::npos);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"folder", "out.veskspro"}));
}

TEST(Format, FailuresAndUsage)
{
    TempDir dir;
    RunResult missing = Format({dir.File("missing.json")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "cannot read " + dir.File("missing.json") + ": No such file or directory\n");

    WriteBytes(dir.File("bad.json"), "{'Commands':[,]}");
    RunResult bad = Format({dir.File("bad.json")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find(dir.File("bad.json") + ": Parse error\n line:1  byte:14"), std::string::npos) << bad.err;

    EXPECT_EQ(Format({}).status, 2);
    RunResult two = Format({kDemoPath, kDemoPath});
    EXPECT_EQ(two.status, 2);
    EXPECT_NE(two.err.find("give one file"), std::string::npos);
    RunResult noValue = Format({kDemoPath, "-o"});
    EXPECT_EQ(noValue.status, 2);
    EXPECT_NE(noValue.err.find("option -o needs a value"), std::string::npos);
    EXPECT_EQ(Format({kDemoPath, "--pretty"}).status, 2);
}

// --- The executable -------------------------------------------------------------------------

TEST(Veskres, RunsCheckAndFormat)
{
    RunResult check = Shell("'" + kVeskres + "' check '" + kDemoPath + "' 2>/dev/null");
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.out, kDemoPath + ": 3 dialogs, 11 groups, 22 objects\n");

    RunResult format = Shell("'" + kVeskres + "' format '" + kDemoPath + "'");
    EXPECT_EQ(format.status, 0);
    EXPECT_EQ(format.out, ReadBytes(kDemoPath));

    TempDir dir;
    RunResult written = Shell("'" + kVeskres + "' format '" + kDemoPath + "' -o '" + dir.File("copy.veskspro") + "'");
    EXPECT_EQ(written.status, 0);
    EXPECT_EQ(ReadBytes(dir.File("copy.veskspro")), ReadBytes(kDemoPath));

    RunResult missing = Shell("'" + kVeskres + "' check '" + dir.File("none.json") + "'");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(Shell("'" + kVeskres + "' frobnicate 2>/dev/null").status, 2);
    EXPECT_EQ(Shell("'" + kVeskres + "' 2>/dev/null").status, 2);
    RunResult help = Shell("'" + kVeskres + "' --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("veskres check FILE..."), std::string::npos);
    EXPECT_NE(help.out.find("veskres --version | --help"), std::string::npos);
    RunResult version = Shell("'" + kVeskres + "' --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "veskres " VESK_VERSION "\n");
}

} // namespace
} // namespace vesk
