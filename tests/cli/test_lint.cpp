// veskres lint: exit codes, the three formats and the SARIF structure code-scanning tools read.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/commands.h"
#include "model/jsonparser.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

RunResult Lint(std::vector<std::string> args)
{
    std::ostringstream out, err;
    int status = cli::RunLint(args, out, err);
    return {status, out.str(), err.str()};
}

/// One dialog 'D' whose LINEAR root group holds the objects; TemplateType when the dialog items say.
std::string Project(const std::string& objects, const std::string& dialogItems = "'TemplateType':'None',")
{
    return "{'Name':'P','Commands':[{'Command':'DIALOG','Name':'D'," + dialogItems +
           "'Object':{'Name':'root','Type':'GROUP','Layout':'LINEAR','Objects':[" + objects + "]}}]}";
}

class LintCommand : public testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() /
                   ("vesk_lint_cli_" + std::to_string(testing::UnitTest::GetInstance()->random_seed()) + "_" +
                    testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_folder / "resources");
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string Write(const std::string& name, const std::string& text)
    {
        std::ofstream(m_folder / name, std::ios::binary) << text;
        return (m_folder / name).string();
    }

    fs::path m_folder;
};

TEST_F(LintCommand, ExitStatusFollowsTheSeverityThreshold)
{
    const std::string clean = Write("clean.veskspro", Project("{'Name':'t','Type':'TEXT'}"));
    const std::string info = Write("info.veskspro", Project("{'Name':'t','Type':'TEXT'}", ""));
    const std::string warning = Write("warning.veskspro", Project("{'Name':'r','Type':'RADIOBTN'}"));
    const std::string error = Write("error.veskspro", Project("{'Name':'t','Type':'TEXT','Width':'abc'}"));
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {{clean}, 0},
        {{clean, "--severity", "info"}, 0},
        {{info}, 0},
        {{info, "--severity", "warning"}, 0},
        {{info, "--severity", "info"}, 1},
        {{warning}, 0},
        {{warning, "--severity", "warning"}, 1},
        {{error}, 1},
        {{clean, error}, 1},
        {{clean, "--device", "480x800", "--device", "1024x600"}, 0},
        {{}, 2},
        {{clean, "--format", "xml"}, 2},
        {{clean, "--severity", "fatal"}, 2},
        {{clean, "--device", "480"}, 2},
        {{clean, "--fix"}, 2},
        {{clean, (m_folder / "absent.veskspro").string()}, 2},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& arg : c.args)
            line += arg + ' ';
        EXPECT_EQ(Lint(c.args).status, c.status) << line;
    }
}

TEST_F(LintCommand, TextPrintsOneLinePerFindingInTreeOrder)
{
    const std::string file =
        Write("p.veskspro", Project("{'Name':'t','Type':'TEXT','TColor':'#12'},{'Name':'t','Type':'TEXT'}", ""));
    RunResult run = Lint({file});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, file + ":D: info no-template-type: the dialog has no TemplateType; the generator skips it\n" +
                           file + ":D/root/t: error duplicate-name: the Name 't' is used 2 times in the dialog\n" +
                           file +
                           ":D/root/t: error bad-colour: TColor '#12' is not a named colour, #RRGGBB or #AARRGGBB\n");
}

TEST_F(LintCommand, StationPicturesAreLookedUpInTheProjectFolder)
{
    std::ofstream(m_folder / "resources" / "here.png") << "x";
    const std::string file = Write("p.veskspro", Project("{'Name':'a','Type':'PICTURE','File':'here.png','FileSource':'"
                                                         "STATION'},{'Name':'b','Type':'PICTURE','File':'gone.png',"
                                                         "'FileSource':'STATION'}"));
    EXPECT_EQ(Lint({file}).out, "");
    RunResult run = Lint({file, "--project-folder", m_folder.string(), "--severity", "warning"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, file + ":D/root/b: warning missing-picture: the picture 'gone.png' is not in resources/\n");
}

TEST_F(LintCommand, JsonHoldsEveryFieldOfAFinding)
{
    const std::string file = Write("p.veskspro", Project("{'Name':'t','Type':'TEXT','Width':'\"幅\"'}"));
    RunResult run = Lint({file, "--format", "json"});
    std::optional<JsonValue> json = ParseWholeValue(run.out);
    ASSERT_TRUE(json) << run.out;
    const JsonValue::Array& findings = json->Get("findings").AsArray();
    ASSERT_EQ(findings.size(), 1u);
    const JsonValue& f = findings[0];
    EXPECT_EQ(f.Get("file").AsString(), file);
    EXPECT_EQ(f.Get("dialog").AsString(), "D");
    EXPECT_EQ(f.Get("path").AsString(), "root/t");
    EXPECT_EQ(f.Get("item").AsString(), "Width");
    EXPECT_EQ(f.Get("severity").AsString(), "error");
    EXPECT_EQ(f.Get("code").AsString(), "bad-length");
    EXPECT_EQ(f.Get("message").AsString(), "Width '\"幅\"' is not a valid length");
    EXPECT_EQ(f.Get("messageJa").AsString(), "Width '\"幅\"' は長さとして正しくありません");
}

TEST_F(LintCommand, SarifHasTheStructureCodeScanningReads)
{
    const std::string file = Write(
        "my dialogs.veskspro", Project("{'Name':'t','Type':'TEXT','Width':'abc'},{'Name':'r','Type':'RADIOBTN'}", ""));
    RunResult run = Lint({file, "--format", "sarif"});
    EXPECT_EQ(run.status, 1);
    std::optional<JsonValue> sarif = ParseWholeValue(run.out);
    ASSERT_TRUE(sarif) << run.out;
    EXPECT_EQ(sarif->Get("version").AsString(), "2.1.0");
    EXPECT_NE(sarif->Get("$schema").AsString().find("sarif-schema-2.1.0.json"), std::string::npos);
    const JsonValue::Array& runs = sarif->Get("runs").AsArray();
    ASSERT_EQ(runs.size(), 1u);
    const JsonValue& driver = runs[0].Get("tool").Get("driver");
    EXPECT_EQ(driver.Get("name").AsString(), "veskres");
    const JsonValue::Array& rules = driver.Get("rules").AsArray();
    ASSERT_FALSE(rules.empty());
    for (const JsonValue& rule : rules) {
        EXPECT_FALSE(rule.Get("id").AsString().empty());
        EXPECT_FALSE(rule.Get("shortDescription").Get("text").AsString().empty());
    }
    const JsonValue::Array& results = runs[0].Get("results").AsArray();
    std::vector<std::string> seen;
    for (const JsonValue& result : results) {
        const std::string& ruleId = result.Get("ruleId").AsString();
        ASSERT_TRUE(result.Get("ruleIndex").IsInteger());
        EXPECT_EQ(rules.at(static_cast<size_t>(result.Get("ruleIndex").AsInteger())).Get("id").AsString(), ruleId);
        EXPECT_FALSE(result.Get("message").Get("text").AsString().empty());
        const JsonValue& location = result.Get("locations").AsArray().at(0);
        EXPECT_EQ(location.Get("physicalLocation").Get("artifactLocation").Get("uri").AsString().find(' '),
                  std::string::npos);
        EXPECT_NE(location.Get("physicalLocation").Get("artifactLocation").Get("uri").AsString().find("my%20dialogs"),
                  std::string::npos);
        seen.push_back(result.Get("level").AsString() + " " + ruleId + " " +
                       location.Get("logicalLocations").AsArray().at(0).Get("fullyQualifiedName").AsString());
    }
    EXPECT_EQ(seen,
              (std::vector<std::string>{"note no-template-type D", "error bad-length D/root/t",
                                        "warning radio-outside-group D/root/r", "warning small-tap-target D/root/r"}));
}

TEST_F(LintCommand, AProjectWithoutFindingsGivesEmptyResults)
{
    const std::string file = Write("p.veskspro", Project("{'Name':'t','Type':'TEXT'}"));
    std::optional<JsonValue> sarif = ParseWholeValue(Lint({file, "--format", "sarif"}).out);
    ASSERT_TRUE(sarif);
    EXPECT_TRUE(sarif->Get("runs").AsArray().at(0).Get("results").AsArray().empty());
    std::optional<JsonValue> json = ParseWholeValue(Lint({file, "--format", "json"}).out);
    ASSERT_TRUE(json);
    EXPECT_TRUE(json->Get("findings").AsArray().empty());
}

TEST_F(LintCommand, DeviceSizesAddLayoutChecks)
{
    // A 150-pixel button fits the project's 200x300 but not a 100-pixel-wide screen.
    const std::string file = Write(
        "p.veskspro", "{'Name':'P','DeviceWidth':200,'DeviceHeight':300,'Commands':[{'Command':'DIALOG','Name':'D',"
                      "'TemplateType':'None','Object':{'Name':'root','Type':'GROUP','Layout':'LINEAR','Objects':["
                      "{'Name':'b','Type':'BUTTON','Text':'OK','Width':'150px','Height':'50px'}]}}]}");
    struct Case {
        std::vector<std::string> devices;
        int status;
        std::string out;
    };
    const Case cases[] = {
        {{}, 0, ""},
        {{"480x800", "800X480"}, 0, ""},
        {{"100x300"},
         1,
         file + ":D/root/b: error outside-area: the object reaches outside the dialog's area at 100x300\n"},
        {{"100x300", "480x800", "100x300"},
         1,
         file + ":D/root/b: error outside-area: the object reaches outside the dialog's area at 100x300\n"},
        {{"480"}, 2, ""},
        {{"0x800"}, 2, ""},
        {{"480x800x2"}, 2, ""},
        {{"axb"}, 2, ""},
        {{"480x800", "-3x5"}, 2, ""},
        {{""}, 2, ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{file};
        std::string line;
        for (const std::string& device : c.devices) {
            args.insert(args.end(), {"--device", device});
            line += device + ' ';
        }
        const RunResult run = Lint(args);
        EXPECT_EQ(run.status, c.status) << line;
        EXPECT_EQ(run.out, c.out) << line;
        if (c.status == 2) {
            EXPECT_NE(run.err.find("usage: veskres lint"), std::string::npos) << line;
        }
    }
}

TEST_F(LintCommand, TheDemoProjectHasNoLayoutErrorAtItsOwnSize)
{
    RunResult run = Lint({VESK_SOURCE_DIR "/examples/demo.veskspro", "--format", "json"});
    std::optional<JsonValue> json = ParseWholeValue(run.out);
    ASSERT_TRUE(json) << run.out;
    std::vector<std::string> errors;
    int layout = 0;
    for (const JsonValue& f : json->Get("findings").AsArray()) {
        if (f.Get("severity").AsString() == "error")
            errors.push_back(f.Get("code").AsString() + " " + f.Get("dialog").AsString() + "/" +
                             f.Get("path").AsString());
        if (f.Get("message").AsString().find(" at 480x800") != std::string::npos)
            ++layout;
    }
    // The one error is the command left naming a missing object; the layout gives warnings only.
    EXPECT_EQ(errors, std::vector<std::string>{"unknown-object Settings/settingsRoot/overlay/btnReset"});
    EXPECT_GT(layout, 0);
    EXPECT_EQ(run.status, 1);
}

} // namespace
} // namespace vesk
