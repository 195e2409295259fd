// veskres diff, merge and git-setup: in-process with string streams, and with real git through
// the built executable.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <sys/wait.h>

#include "../records/projectsample.h"
#include "cli/commands.h"

namespace vesk {
namespace {

using namespace test;

const std::string kRuntimeDir = VESK_RUNTIME_DIR;

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

RunResult Invoke(cli::CommandFunction command, const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    int status = command(args, out, err);
    return {status, out.str(), err.str()};
}

/// Runs a shell command line (standard error joined to standard output); answers its exit
/// status and output.
RunResult Shell(const std::string& command)
{
    RunResult run{-1, {}, {}};
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
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

/// The sample with the edit made, as the writer writes it.
std::string SampleWith(const Edit& edit)
{
    CTekResourceData project;
    LoadText(project);
    edit(project);
    return Canonical(project);
}

/// A folder with the sample project as base.veskspro.
class ProjectFiles : public testing::Test {
protected:
    void SetUp() override { WriteBytes(Path("base.veskspro"), SampleWith(Edits({}))); }
    std::string Path(const std::string& name) const { return dir.File(name); }
    std::string Write(const std::string& name, const Edit& edit) const
    {
        WriteBytes(Path(name), SampleWith(edit));
        return Path(name);
    }
    TempDir dir;
};

// --- diff ------------------------------------------------------------------------------------

using Diff = ProjectFiles;

TEST_F(Diff, EqualProjectsAnswerZeroWhateverTheirSpelling)
{
    WriteBytes(Path("loose.json"), kSampleProject);
    RunResult run = Invoke(cli::RunDiff, {Path("base.veskspro"), Path("loose.json")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
}

TEST_F(Diff, DifferencesAnswerOneWithALineEach)
{
    const std::string changed =
        Write("changed.veskspro", Edits({SetItem("ok", "Text", "決定"), MoveNode("title", "box", 0),
                                         AddCommand("ok", "UPDATE", "OnClick", "title"), RemoveDialog("About")}));
    RunResult run = Invoke(cli::RunDiff, {Path("base.veskspro"), changed});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Main/root/bar/ok: Text \"押す\" -> \"決定\"\n"
                       "Main/root/bar/ok/OnClick[1]: added UPDATE\n"
                       "Main/root/box/title: moved from Main/root at 0 to Main/root/box at 0\n"
                       "About: removed dialog\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(Diff, JsonHasOneObjectAChange)
{
    const std::string changed =
        Write("changed.veskspro", Edits({SetItem("", "Name", "Store \"2\""), AddNode("bar", 2, OBJ_TEXT, "note"),
                                         MoveNode("cancel", "root", 0), RemoveNode("list"), MoveDialog("About", 0)}));
    RunResult run = Invoke(cli::RunDiff, {Path("base.veskspro"), changed, "--format", "json"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "{\"equal\":false,\"changes\":[\n"
              "{\"change\":\"changed\",\"subject\":\"project\",\"path\":\"(project)\",\"item\":\"Name\","
              "\"old\":\"Shop\",\"new\":\"Store \\\"2\\\"\"},\n"
              "{\"change\":\"moved\",\"subject\":\"dialog\",\"path\":\"About\",\"fromPosition\":2,\"toPosition\":0},\n"
              "{\"change\":\"moved\",\"subject\":\"node\",\"path\":\"Main/root/cancel\",\"from\":\"Main/root/bar\","
              "\"to\":\"Main/root\",\"fromPosition\":1,\"toPosition\":0},\n"
              "{\"change\":\"added\",\"subject\":\"node\",\"path\":\"Main/root/bar/note\",\"what\":\"TEXT\","
              "\"position\":1},\n"
              "{\"change\":\"removed\",\"subject\":\"node\",\"path\":\"Main/root/list\",\"what\":\"GRID\"}\n"
              "]}\n");
    RunResult same = Invoke(cli::RunDiff, {Path("base.veskspro"), Path("base.veskspro"), "--format=json"});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "{\"equal\":true,\"changes\":[]}\n");
}

TEST_F(Diff, DialogOptionKeepsToThatDialog)
{
    const std::string changed =
        Write("changed.veskspro", Edits({SetItem("", "Name", "Store"), SetItem("Settings:volume", "Max", "5")}));
    RunResult settings = Invoke(cli::RunDiff, {Path("base.veskspro"), changed, "--dialog", "Settings"});
    EXPECT_EQ(settings.status, 1);
    EXPECT_EQ(settings.out, "Settings/root/volume: Max \"10\" -> \"5\"\n");
    RunResult main = Invoke(cli::RunDiff, {Path("base.veskspro"), changed, "--dialog", "Main"});
    EXPECT_EQ(main.status, 0);
    EXPECT_EQ(main.out, "");
}

struct ErrorCase {
    const char* name;
    std::vector<std::string> args; ///< "@name" stands for a file of the folder
    std::string message;           ///< part of what standard error says
};

void PrintTo(const ErrorCase& errorCase, std::ostream* out)
{
    *out << errorCase.name;
}

class DiffErrors : public ProjectFiles, public testing::WithParamInterface<ErrorCase> {};

TEST_P(DiffErrors, AnswerTwo)
{
    WriteBytes(Path("bad.veskspro"), "{'Name':'x',");
    std::vector<std::string> args;
    for (const std::string& arg : GetParam().args)
        args.push_back(arg.starts_with('@') ? Path(arg.substr(1)) : arg);
    RunResult run = Invoke(cli::RunDiff, args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DiffErrors,
    testing::Values(
        ErrorCase{"MissingFile", {"@base.veskspro", "@missing.veskspro"}, "veskres diff: cannot read "},
        ErrorCase{"FileThatDoesNotParse", {"@bad.veskspro", "@base.veskspro"}, "bad.veskspro: Parse error"},
        ErrorCase{"OneFile", {"@base.veskspro"}, "give two files"},
        ErrorCase{"UnknownFormat", {"@base.veskspro", "@base.veskspro", "--format", "xml"}, "unknown format 'xml'"},
        ErrorCase{"UnknownDialog",
                  {"@base.veskspro", "@base.veskspro", "--dialog", "Nope"},
                  "neither project has a dialog named Nope"}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

// --- merge -----------------------------------------------------------------------------------

using Merge = ProjectFiles;

TEST_F(Merge, CleanMergeWritesTheProjectInTheWritersForm)
{
    const std::string ours = Write("ours.veskspro", Edits({SetItem("ok", "Text", "決定"), RemoveNode("list")}));
    const std::string theirs =
        Write("theirs.veskspro", Edits({SetItem("cancel", "Text", "中止"), MoveNode("title", "box", 0)}));
    RunResult run = Invoke(cli::RunMerge, {Path("base.veskspro"), ours, theirs, "-o", Path("out.veskspro")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "");
    const std::string merged = ReadBytes(Path("out.veskspro"));
    EXPECT_EQ(merged, SampleWith(Edits({SetItem("ok", "Text", "決定"), RemoveNode("list"),
                                        SetItem("cancel", "Text", "中止"), MoveNode("title", "box", 0)})));
    RunResult formatted = Invoke(cli::RunFormat, {Path("out.veskspro")});
    EXPECT_EQ(formatted.out, merged);
}

TEST_F(Merge, OutputMayBeOurFile)
{
    // As git's merge driver is called: the result replaces ours.
    const std::string ours = Write("ours.veskspro", SetItem("ok", "Text", "決定"));
    const std::string theirs = Write("theirs.veskspro", SetItem("", "DeviceWidth", "600"));
    RunResult run = Invoke(cli::RunMerge, {Path("base.veskspro"), ours, theirs, "-o", ours});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(ours), SampleWith(Edits({SetItem("ok", "Text", "決定"), SetItem("", "DeviceWidth", "600")})));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"base.veskspro", "ours.veskspro", "theirs.veskspro"}));
}

TEST_F(Merge, ConflictsKeepOursAreListedAndAnswerOne)
{
    const std::string ours = Write("ours.veskspro", Edits({SetItem("ok", "Text", "決定"), RemoveNode("cancel")}));
    const std::string theirs = Write(
        "theirs.veskspro", Edits({SetItem("ok", "Text", "OK"), SetItem("cancel", "Width", "9"), AddDialog("Help")}));
    RunResult run = Invoke(cli::RunMerge, {Path("base.veskspro"), ours, theirs, "--output", Path("out.veskspro")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "veskres merge: conflict: Main/root/bar/ok: Text changed on both sides: ours \"決定\", "
                       "theirs \"OK\"; ours kept\n"
                       "veskres merge: conflict: Main/root/bar/cancel: removed on our side, changed on theirs; left "
                       "removed\n"
                       "veskres merge: 2 conflicts, ours kept at each\n");
    EXPECT_EQ(ReadBytes(Path("out.veskspro")),
              SampleWith(Edits({SetItem("ok", "Text", "決定"), RemoveNode("cancel"), AddDialog("Help")})));
}

TEST_F(Merge, EmptyBaseIsAnEmptyProject)
{
    // Both sides added the file: what they agree on is taken, and where they differ ours is kept.
    WriteBytes(Path("empty"), "");
    const std::string ours = Write("ours.veskspro", SetItem("ok", "Text", "決定"));
    const std::string theirs = Write("theirs.veskspro", AddDialog("Help"));
    RunResult run = Invoke(cli::RunMerge, {Path("empty"), ours, theirs, "-o", Path("out.veskspro")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "veskres merge: conflict: Main/root/bar/ok: Text changed on both "
                                                     "sides: ours \"決定\", theirs \"押す\"; ours kept");
    EXPECT_EQ(ReadBytes(Path("out.veskspro")), SampleWith(Edits({SetItem("ok", "Text", "決定"), AddDialog("Help")})));
}

class MergeErrors : public ProjectFiles, public testing::WithParamInterface<ErrorCase> {};

TEST_P(MergeErrors, AnswerTwoAndWriteNothing)
{
    WriteBytes(Path("bad.veskspro"), "{'Name':'x',");
    std::vector<std::string> args;
    for (const std::string& arg : GetParam().args)
        args.push_back(arg.starts_with('@') ? Path(arg.substr(1)) : arg);
    RunResult run = Invoke(cli::RunMerge, args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"bad.veskspro", "base.veskspro"}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, MergeErrors,
    testing::Values(ErrorCase{"NoOutput", {"@base.veskspro", "@base.veskspro", "@base.veskspro"}, "-o OUT is required"},
                    ErrorCase{"MissingTheirs",
                              {"@base.veskspro", "@base.veskspro", "@gone.veskspro", "-o", "@out"},
                              "veskres merge: cannot read "},
                    ErrorCase{"BaseThatDoesNotParse",
                              {"@bad.veskspro", "@base.veskspro", "@base.veskspro", "-o", "@out"},
                              "Parse error"},
                    ErrorCase{"OutputInAMissingFolder",
                              {"@base.veskspro", "@base.veskspro", "@base.veskspro", "-o", "@no/such/out"},
                              "veskres merge: cannot write "}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

// --- git-setup -------------------------------------------------------------------------------

/// A fresh git repository that sees no settings but its own.
class GitRepository : public testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("GIT_CONFIG_NOSYSTEM", "1", 1);
        ::setenv("GIT_CONFIG_GLOBAL", "/dev/null", 1);
        ASSERT_EQ(Git("init -q -b main").status, 0);
        ASSERT_EQ(Git("config user.name Tester").status, 0);
        ASSERT_EQ(Git("config user.email tester@example.com").status, 0);
    }
    /// Runs a command in the repository with the built veskres first on PATH.
    RunResult InRepository(const std::string& command) const
    {
        return Shell("cd '" + dir.Path().string() + "' && PATH='" + kRuntimeDir + "':\"$PATH\" " + command);
    }
    RunResult Git(const std::string& args) const { return InRepository("git " + args); }
    std::string Setting(const std::string& key) const
    {
        std::string value = Git("config --get " + key).out;
        if (!value.empty() && value.back() == '\n')
            value.pop_back();
        return value;
    }
    TempDir dir;
};

using GitSetup = GitRepository;

TEST_F(GitSetup, SetsUpTheRepositoryOnceAndSaysSo)
{
    const std::string top = std::filesystem::canonical(dir.Path()).string();
    RunResult first = Invoke(cli::RunGitSetup, {dir.Path().string()});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out.substr(0, first.out.find("note:")),
              top + "/.gitattributes: added *.veskspro diff=vesk merge=vesk\n"
                    "diff.vesk.textconv set: veskres format\n"
                    "merge.vesk.name set: Vesk project merge (veskres merge)\n"
                    "merge.vesk.driver set: veskres merge %O %A %B -o %A\n");
    EXPECT_EQ(ReadBytes(dir.File(".gitattributes")), "*.veskspro diff=vesk merge=vesk\n");
    EXPECT_EQ(Setting("diff.vesk.textconv"), "veskres format");
    EXPECT_EQ(Setting("merge.vesk.driver"), "veskres merge %O %A %B -o %A");

    RunResult second = Invoke(cli::RunGitSetup, {dir.Path().string()});
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.out.substr(0, second.out.find("note:")),
              top + "/.gitattributes already has: *.veskspro diff=vesk merge=vesk\n"
                    "diff.vesk.textconv already set: veskres format\n"
                    "merge.vesk.name already set: Vesk project merge (veskres merge)\n"
                    "merge.vesk.driver already set: veskres merge %O %A %B -o %A\n");
    EXPECT_EQ(ReadBytes(dir.File(".gitattributes")), "*.veskspro diff=vesk merge=vesk\n");
}

TEST_F(GitSetup, ExtendsAttributesAndReplacesOtherSettings)
{
    WriteBytes(dir.File(".gitattributes"), "*.png binary");
    ASSERT_EQ(Git("config merge.vesk.driver 'cat %A'").status, 0);
    std::filesystem::create_directory(dir.Path() / "sub");
    RunResult run = Invoke(cli::RunGitSetup, {dir.File("sub")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("merge.vesk.driver set: veskres merge %O %A %B -o %A (was: cat %A)\n"), std::string::npos)
        << run.out;
    EXPECT_EQ(ReadBytes(dir.File(".gitattributes")), "*.png binary\n*.veskspro diff=vesk merge=vesk\n");
    EXPECT_EQ(Setting("merge.vesk.driver"), "veskres merge %O %A %B -o %A");
}

TEST_F(GitSetup, SaysWhenVeskresIsNotOnPath)
{
    RunResult run = InRepository("PATH=/usr/bin:/bin '" + kRuntimeDir + "/veskres' git-setup");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("note: git runs veskres by name, and no veskres is on PATH"), std::string::npos);
    RunResult onPath = InRepository("veskres git-setup");
    EXPECT_EQ(onPath.out.find("note:"), std::string::npos) << onPath.out;
}

TEST(GitSetupErrors, OutsideARepositoryAnswersOne)
{
    TempDir dir;
    ::setenv("GIT_CONFIG_NOSYSTEM", "1", 1);
    ::setenv("GIT_CONFIG_GLOBAL", "/dev/null", 1);
    ::setenv("GIT_CEILING_DIRECTORIES", dir.Path().parent_path().c_str(), 1);
    RunResult run = Invoke(cli::RunGitSetup, {dir.Path().string()});
    ::unsetenv("GIT_CEILING_DIRECTORIES");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("is not in a git work tree"), std::string::npos) << run.err;
    EXPECT_EQ(dir.Entries(), std::vector<std::string>());
    EXPECT_EQ(Invoke(cli::RunGitSetup, {"a", "b"}).status, 2);
}

// --- With git --------------------------------------------------------------------------------

using WithGit = GitRepository;

TEST_F(WithGit, BranchesChangingNeighbouringObjectsMergeCleanlyAndTheSameItemConflicts)
{
    const std::string project = dir.File("shop.veskspro");
    ASSERT_EQ(InRepository("veskres git-setup").status, 0);
    WriteBytes(project, SampleWith(Edits({})));
    ASSERT_EQ(Git("add -A").status, 0);
    ASSERT_EQ(Git("commit -qm base").status, 0);

    // ok's command and cancel are written on neighbouring lines: a merge of lines would stop here.
    ASSERT_EQ(Git("checkout -qb cancel-text").status, 0);
    WriteBytes(project, SampleWith(SetItem("cancel", "Text", "中止")));
    ASSERT_EQ(Git("commit -qam cancel").status, 0);
    ASSERT_EQ(Git("checkout -qb ok-text main").status, 0);
    WriteBytes(project, SampleWith(Edits({SetItem("ok", "Text", "決定"), SetCommandItem("ok", 0, "File", "Pay")})));
    ASSERT_EQ(Git("commit -qam ok").status, 0);
    TempDir scratch;
    RunResult lines =
        Git("show main:shop.veskspro > '" + scratch.File("b") + "' && git show cancel-text:shop.veskspro > '" +
            scratch.File("t") + "' && git merge-file -p shop.veskspro '" + scratch.File("b") + "' '" +
            scratch.File("t") + "' > /dev/null");
    EXPECT_GT(lines.status, 0) << "a merge of lines should conflict here";

    RunResult merge = Git("merge -q --no-edit cancel-text");
    EXPECT_EQ(merge.status, 0) << merge.out;
    const std::string both = SampleWith(Edits(
        {SetItem("ok", "Text", "決定"), SetCommandItem("ok", 0, "File", "Pay"), SetItem("cancel", "Text", "中止")}));
    EXPECT_EQ(ReadBytes(project), both);
    EXPECT_EQ(Git("status --porcelain -- shop.veskspro").out, "");

    // git diff shows the project through veskres format: a respelled file shows no change.
    WriteBytes(project, "\n" + both);
    EXPECT_EQ(Git("diff -- shop.veskspro").out, "");
    WriteBytes(project, both);

    // Both branches change the same item.
    ASSERT_EQ(Git("checkout -qb title-a").status, 0);
    WriteBytes(project, SampleWith(Edits({SetItem("ok", "Text", "決定"), SetCommandItem("ok", 0, "File", "Pay"),
                                          SetItem("cancel", "Text", "中止"), SetItem("title", "Text", "A")})));
    ASSERT_EQ(Git("commit -qam a").status, 0);
    ASSERT_EQ(Git("checkout -qb title-b ok-text").status, 0);
    ASSERT_EQ(Git("merge -q --no-edit cancel-text").status, 0);
    WriteBytes(project, SampleWith(Edits({SetItem("ok", "Text", "決定"), SetCommandItem("ok", 0, "File", "Pay"),
                                          SetItem("cancel", "Text", "中止"), SetItem("title", "Text", "B")})));
    ASSERT_EQ(Git("commit -qam b").status, 0);
    RunResult conflict = Git("merge --no-edit title-a");
    EXPECT_NE(conflict.status, 0);
    EXPECT_NE(conflict.out.find("veskres merge: conflict: Main/root/title: Text changed on both sides: ours \"B\", "
                                "theirs \"A\"; ours kept"),
              std::string::npos)
        << conflict.out;
    EXPECT_NE(Git("status --porcelain -- shop.veskspro").out.find("UU shop.veskspro"), std::string::npos);
    // The file holds ours at the conflict, in the writer's form, not lines with markers.
    EXPECT_EQ(ReadBytes(project),
              SampleWith(Edits({SetItem("ok", "Text", "決定"), SetCommandItem("ok", 0, "File", "Pay"),
                                SetItem("cancel", "Text", "中止"), SetItem("title", "Text", "B")})));
}

} // namespace
} // namespace vesk
