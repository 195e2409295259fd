// The project checks: one small project per check with exactly the findings it should give.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "objects/devicelayout.h"
#include "objects/layout.h"
#include "records/projectlint.h"
#include "records/resourcefile.h"
#include "projectsample.h"

namespace vesk {
namespace {

/// One dialog 'D' (with a TemplateType) whose LINEAR root group 'root' holds the objects.
std::string Dialog(const std::string& objects, const std::string& dialogItems = "'TemplateType':'None',")
{
    return "{'Command':'DIALOG','Name':'D'," + dialogItems +
           "'Object':{'Name':'root','Type':'GROUP','Layout':'LINEAR','Objects':[" + objects + "]}}";
}
std::string Project(const std::string& dialogs)
{
    return "{'Name':'P','Commands':[" + dialogs + "]}";
}

/// The findings as "severity code dialog/path item", one per finding.
std::vector<std::string> Lint(const std::string& text, const LintOptions& options = {})
{
    CTekResourceData project;
    test::LoadText(project, text);
    std::vector<std::string> lines;
    for (const LintFinding& f : LintProject(project, options))
        lines.push_back(std::string(LintSeverityName(f.severity)) + " " + f.code + " " + f.Location() + " " + f.item);
    return lines;
}

struct Case {
    const char* what;
    std::string project;
    std::vector<std::string> expected;
};

class ProjectLintTest : public ::testing::TestWithParam<Case> {};

TEST_P(ProjectLintTest, GivesExactlyTheExpectedFindings)
{
    EXPECT_EQ(Lint(GetParam().project), GetParam().expected);
}

const std::string kText = "{'Name':'t','Type':'TEXT'";

INSTANTIATE_TEST_SUITE_P(
    Checks, ProjectLintTest,
    ::testing::Values(
        Case{"good values",
             Project(Dialog(kText + ",'Width':'PARENT','Height':'12px','TSize':'9pt','Padding':'1,2,3,4mm',"
                                    "'BGColor':'#80FF00FF','TColor':'TRANSPARENT','Weight':2,'Hide':true,"
                                    "'TAlign':'LEFT|TOP'}")),
             {}},
        Case{"lengths",
             Project(Dialog(kText + ",'Width':'abc','Height':'-50'},{'Name':'u','Type':'TEXT','Width':'99999999999',"
                                    "'Height':'10 px','TSize':'-3'}")),
             {"error bad-length D/root/t Width", "error bad-length D/root/t Height", "error bad-length D/root/u Width",
              "error bad-length D/root/u Height", "error bad-length D/root/u TSize"}},
        Case{"offsets",
             Project(Dialog(kText + ",'Padding':'xyz','Margin':'1,2,3'}")),
             {"error bad-offset D/root/t Padding", "error bad-offset D/root/t Margin"}},
        Case{"colours",
             Project(Dialog(kText + ",'BGColor':'#12','TColor':'PINK'}")),
             {"error bad-colour D/root/t BGColor", "error bad-colour D/root/t TColor"}},
        Case{"numbers",
             Project(Dialog("{'Name':'s','Type':'SLIDEBAR','Weight':'1.5','Min':'x','Max':'10','Value':'five'},"
                            "{'Name':'e','Type':'EDIT','Value':'text','OnClick':{'Event':'OnClick','Command':'NOTIFY',"
                            "'MakeCommand':'UPDATE','Name':'e','Value':'new text','Max':'many'}}")),
             {"error bad-number D/root/s Weight", "error bad-number D/root/s Min", "error bad-number D/root/s Value",
              "error bad-number D/root/e Max"}},
        Case{"choices and flags",
             Project(Dialog(kText + ",'TAlign':'UP','Hide':'yes'},{'Name':'s','Type':'SPINNER'},{'Name':'g','Type':"
                                    "'GROUP','Layout':'GRIDX','Objects':[{'Name':'x','Type':'TEXT'}]}")),
             {"error bad-flag D/root/t Hide", "error bad-choice D/root/t TAlign", "error bad-choice D/root/s Type",
              "error bad-choice D/root/g Layout"}},
        Case{"header columns",
             Project(Dialog("{'Name':'grid','Type':'GRID','Header':[{'TSize':'12'},{'TColor':'PINK'}]}")),
             {"error bad-colour D/root/grid/Header[1] TColor"}},
        Case{"object names",
             Project(Dialog("{'Type':'TEXT'}," + kText + "},{'Name':'g','Type':'GROUP','Layout':'LINEAR','Objects':[" +
                            kText + "}]}")),
             {"error empty-name D/root/(unnamed) Name", "error duplicate-name D/root/t Name"}},
        Case{"dialog names",
             Project(Dialog(kText + "}") + ",{'Command':'DIALOG','Name':'2nd win','TemplateType':'None'," +
                     "'Object':{'Name':'root','Type':'GROUP','Layout':'LINEAR','Objects':[" + kText + "}]}}"),
             {"error bad-dialog-name 2nd win Name"}},
        Case{"dialog names that are keywords",
             Project("{'Command':'DIALOG','Name':'class','TemplateType':'None','Object':{'Name':'root','Type':'GROUP',"
                     "'Layout':'LINEAR','Objects':[" +
                     kText + "}]}}"),
             {"error bad-dialog-name class Name"}},
        Case{"structure",
             Project(Dialog("{'Name':'r','Type':'RADIOBTN'},{'Name':'grid','Type':'GRID','Columns':'3'},"
                            "{'Name':'e','Type':'GROUP','Layout':'RADIO','Objects':[{'Name':'in','Type':'RADIOBTN'}]},"
                            "{'Name':'f','Type':'GROUP','Layout':'FRAME','Objects':[]}")),
             {"warning radio-outside-group D/root/r Type", "warning grid-columns D/root/grid Columns",
              "warning empty-group D/root/f "}},
        Case{"references",
             Project(Dialog(kText + ",'NotifyList':'Name,Colour'},{'Name':'g','Type':'GROUP','Layout':'LINEAR',"
                                    "'NotifyList':'Name,Text','Objects':[{'Name':'x','Type':'TEXT'}]},{'Name':'b','"
                                    "Type':'BUTTON','OnClick':"
                                    "{'Event':'OnClick','Command':'NOTIFY','MakeCommand':'UPDATE','Name':'t,gone'}}",
                            "")),
             {"info no-template-type D TemplateType", "warning unknown-notify-item D/root/t NotifyList",
              "warning unknown-notify-item D/root/g NotifyList", "error unknown-object D/root/b Name"}}));

TEST(ProjectLint, DuplicateDialogNamesAreReportedOnce)
{
    // A load makes dialog names unique; an edit (a rename) can still give two dialogs one name.
    CTekResourceData project;
    test::LoadText(project, Project(Dialog(kText + "}") + "," + Dialog(kText + "}") + "," + Dialog(kText + "}")));
    project.Dialogs().At(1).SetItem("Name", "D");
    project.Dialogs().At(2).SetItem("Name", "D");
    std::vector<LintFinding> findings = LintProject(project, {});
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].code, "duplicate-dialog");
    EXPECT_EQ(findings[0].message, "the dialog Name 'D' is used by 3 dialogs");
}

TEST(ProjectLint, ATopNodeThatIsNoGroupIsReported)
{
    CTekResourceData project;
    test::LoadText(project, Project(Dialog(kText + "}")));
    CTekDialogData& dialog = project.Dialogs().At(0);
    auto object = std::make_shared<CObjectData>(nullptr);
    BuildObjectItems(*object, OBJ_TEXT);
    object->SetItem("Name", "only");
    dialog.SetRoot(object);
    std::vector<LintFinding> findings = LintDialog(dialog, {});
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].code, "root-object");
    EXPECT_EQ(findings[0].Location(), "D/only");
}

TEST(ProjectLint, PicturesAreLookedUpInAssetsOrResourcesByTheirSource)
{
    namespace fs = std::filesystem;
    fs::path base =
        fs::temp_directory_path() / ("vesk_lint_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(base / "data/assets");
    fs::create_directories(base / "project/resources");
    std::ofstream(base / "data/assets/on.png") << "x";
    std::ofstream(base / "project/resources/st.png") << "x";
    std::string text = Project(Dialog("{'Name':'a','Type':'BUTTON','FileOn':'on.png','FileOff':'off.png'},"
                                      "{'Name':'b','Type':'PICTURE','File':'st.png','FileSource':'STATION'},"
                                      "{'Name':'c','Type':'PICTURE','File':'on.png','FileSource':'STATION'},"
                                      "{'Name':'d','Type':'PICTURE','File':'web.png','FileSource':'URI'},"
                                      "{'Name':'e','Type':'BUTTON','OnClick':{'Event':'OnClick','Command':"
                                      "'SENDCOMMAND','SendCommand':'GETFILE','File':'st.png'},'OnTouch':{'Event':"
                                      "'OnTouch','Command':'SENDCOMMAND','SendCommand':'GETFILE','File':'on.png'}}"));
    std::vector<std::string> expected = {"warning missing-picture D/root/a FileOff",
                                         "warning missing-picture D/root/c File", "warning missing-file D/root/e File"};
    LintOptions folders;
    folders.dataFolder = (base / "data").string();
    folders.projectFolder = (base / "project").string();
    EXPECT_EQ(Lint(text, folders), expected);
    // Without the folders nothing can be said about the pictures.
    EXPECT_EQ(Lint(text), std::vector<std::string>{});
    fs::remove_all(base);
}

TEST(ProjectLint, MessagesAreOneLineInBothLanguages)
{
    CTekResourceData project;
    test::LoadText(project, Project(Dialog(kText + ",'Width':'幅'}", "")));
    std::vector<LintFinding> findings = LintProject(project, {});
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[1].message, "Width '幅' is not a valid length");
    EXPECT_EQ(findings[1].messageJa, "Width '幅' は長さとして正しくありません");
    for (const LintFinding& f : findings) {
        EXPECT_EQ(f.message.find('\n'), std::string::npos);
        EXPECT_EQ(f.messageJa.find('\n'), std::string::npos);
    }
}

TEST(ProjectLint, TheDemoProjectHasOnlyItsDeleteOfAMissingObject)
{
    // The demo is clean but for one command: Settings' reset button deletes 'cache', an object that
    // no dialog has.
    CTekResourceData project;
    ASSERT_TRUE(LoadResourceFile(project, VESK_SOURCE_DIR "/examples/demo.veskspro"));
    std::vector<std::string> lines;
    LintOptions options;
    options.dataFolder = VESK_SOURCE_DIR "/data/";
    for (const LintFinding& f : LintProject(project, options))
        lines.push_back(f.code + " " + f.Location() + " " + f.item);
    EXPECT_EQ(lines, std::vector<std::string>{"unknown-object Settings/settingsRoot/overlay/btnReset Name"});
}

TEST(ProjectLint, EveryFindingCodeIsARule)
{
    CTekResourceData project;
    test::LoadText(project);
    for (const LintFinding& f : LintProject(project, {})) {
        bool known = false;
        for (const LintRule& rule : LintRules())
            known = known || (f.code == rule.code && f.severity == rule.severity);
        EXPECT_TRUE(known) << f.code;
    }
}

/// Texts half as wide per byte as the font is high, so that widths are known in advance.
class FixedWidthMeasurer : public TextMeasurer {
public:
    LayoutSize MeasureText(std::string_view text, int fontHeight) const override
    {
        ++calls;
        return {static_cast<int>(text.size()) * fontHeight / 2, fontHeight};
    }
    mutable int calls = 0;
};

/// A project of 200x300 pixels with one dialog 'D' whose root group 'root' has that layout
/// (running top to bottom).
std::string SizedProject(const std::string& layout, const std::string& objects)
{
    return "{'Name':'P','DeviceWidth':200,'DeviceHeight':300,'Commands':[{'Command':'DIALOG','Name':'D',"
           "'TemplateType':'None','Object':{'Name':'root','Type':'GROUP','Layout':'" +
           layout + "','Vertical':true,'Width':'PARENT','Height':'PARENT','Objects':[" + objects + "]}}]}";
}

struct LayoutCase {
    const char* what;
    std::string project;
    std::vector<LayoutArea> sizes;
    std::vector<std::string> expected;
};

class LayoutLintTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutLintTest, GivesExactlyTheExpectedFindings)
{
    const FixedWidthMeasurer text;
    LintOptions options;
    options.text = &text;
    options.deviceSizes = GetParam().sizes;
    EXPECT_EQ(Lint(GetParam().project, options), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, LayoutLintTest,
    ::testing::Values(
        LayoutCase{"a layout that fits",
                   SizedProject("LINEAR", "{'Name':'b','Type':'BUTTON','Width':'100px','Height':'50px','Text':'OK'},"
                                          "{'Name':'t','Type':'TEXT','Text':'hello'},{'Name':'u','Type':'TEXT'}"),
                   {},
                   {}},
        LayoutCase{"outside the area",
                   SizedProject("FRAME", "{'Name':'t','Type':'TEXT','Text':'x','PosX':'190px','Width':'50px',"
                                         "'Height':'20px'},{'Name':'u','Type':'TEXT','Text':'x','PosY':'290px',"
                                         "'Height':'20px'}"),
                   {},
                   {"error outside-area D/root/t ", "error outside-area D/root/u "}},
        LayoutCase{"of zero size",
                   SizedProject("LINEAR", "{'Name':'b','Type':'BUTTON','Width':'0px','Height':'50px','Text':'OK'},"
                                          "{'Name':'p','Type':'PICTURE','File':'none.png'},"
                                          "{'Name':'t','Type':'TEXT','Text':'x','Height':'0px'}"),
                   {},
                   {"warning zero-size D/root/b ", "warning zero-size D/root/t "}},
        LayoutCase{"clipped texts",
                   SizedProject("LINEAR", "{'Name':'t','Type':'TEXT','Width':'30px','Text':'abcdefgh'},"
                                          "{'Name':'s','Type':'TEXT','Width':'60px','Text':'abcdef','TSize':'32px'},"
                                          "{'Name':'f','Type':'TEXT','Width':'60px','Text':'abcdef'},"
                                          "{'Name':'p','Type':'TEXT','Width':'60px','Text':'abcdef',"
                                          "'Padding':'10px,0px,10px,0px'},"
                                          "{'Name':'g','Type':'TOGGLE','Width':'100px','Height':'40px',"
                                          "'TextOff':'abcdefghi'},{'Name':'h','Type':'TOGGLE',"
                                          "'Width':'100px','Height':'40px','TextOff':'abcdefgh'}"),
                   {},
                   {"warning clipped-text D/root/t Text", "warning clipped-text D/root/s Text",
                    "warning clipped-text D/root/p Text", "warning clipped-text D/root/g TextOff"}},
        LayoutCase{"overlaps in a frame",
                   SizedProject("FRAME", "{'Name':'a','Type':'TEXT','Text':'a','Width':'50px','Height':'20px'},"
                                         "{'Name':'b','Type':'TEXT','Text':'b','PosX':'40px','Width':'50px',"
                                         "'Height':'20px'},{'Name':'c','Type':'TEXT','Text':'c','PosX':'90px',"
                                         "'Width':'50px','Height':'20px'},{'Name':'d','Type':'TEXT','Text':'d',"
                                         "'PosY':'20px','Width':'50px','Height':'20px'},{'Name':'e','Type':'TEXT',"
                                         "'Text':'e','PosX':'10px','Width':'50px','Height':'20px'}"),
                   {},
                   {"warning frame-overlap D/root/b ", "warning frame-overlap D/root/e "}},
        LayoutCase{"no overlaps in a row",
                   SizedProject("LINEAR", "{'Name':'a','Type':'TEXT','Text':'a','Width':'50px','Height':'20px'},"
                                          "{'Name':'b','Type':'TEXT','Text':'b','Width':'50px','Height':'20px'}"),
                   {},
                   {}},
        LayoutCase{"tap targets",
                   SizedProject("LINEAR", "{'Name':'b','Type':'BUTTON','Width':'30px','Height':'50px'},"
                                          "{'Name':'c','Type':'TEXT','Text':'c','Clickable':true,'Width':'20px',"
                                          "'Height':'20px'},{'Name':'t','Type':'TEXT','Text':'t','Width':'20px',"
                                          "'Height':'20px'},{'Name':'e','Type':'EDIT','Width':'40px',"
                                          "'Height':'40px'},{'Name':'s','Type':'SLIDEBAR','Width':'100px',"
                                          "'Height':'39px'}"),
                   {},
                   {"warning small-tap-target D/root/b ", "warning small-tap-target D/root/c ",
                    "warning small-tap-target D/root/s "}},
        LayoutCase{"the sizes chosen besides the project's own",
                   SizedProject("FRAME", "{'Name':'b','Type':'BUTTON','Text':'OK','Width':'150px','Height':'50px'}"),
                   {{100, 300}, {200, 300}, {100, 300}},
                   {"error outside-area D/root/b "}},
        LayoutCase{"hidden objects and scrolled content are not checked",
                   SizedProject("LINEAR", "{'Name':'h','Type':'BUTTON','Hide':true,'Width':'10px','Height':'10px'},"
                                          "{'Name':'s','Type':'GROUP','Layout':'SCROLL','Vertical':true,'Height':"
                                          "'100px','Objects':[{'Name':'x','Type':'TEXT','Text':'x','Height':"
                                          "'400px'}]}"),
                   {},
                   {}}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) {
        std::string name;
        for (const char* c = info.param.what; *c; ++c)
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

TEST(LayoutLint, MessagesNameTheDeviceSizeInBothLanguages)
{
    CTekResourceData project;
    test::LoadText(project, SizedProject("LINEAR", "{'Name':'b','Type':'BUTTON','Width':'30px','Height':'50px'}"));
    const FixedWidthMeasurer text;
    LintOptions options;
    options.text = &text;
    options.deviceSizes = {{480, 800}};
    const std::vector<LintFinding> findings = LintProject(project, options);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].message, "the object takes taps but is 30x50 at 200x300, less than 40 pixels on a side");
    EXPECT_NE(findings[0].messageJa.find("200x300"), std::string::npos);
    EXPECT_NE(findings[1].message.find("at 480x800"), std::string::npos);
    EXPECT_NE(findings[1].messageJa.find("480x800"), std::string::npos);
}

TEST(LayoutLint, OneDialogIsCheckedAtTheProjectSizeGivenAndEachTextMeasuredOnce)
{
    CTekResourceData project;
    test::LoadText(project, SizedProject("LINEAR", "{'Name':'a','Type':'TEXT','Text':'same','Width':'10px'},"
                                                   "{'Name':'b','Type':'TEXT','Text':'same','Width':'10px'}"));
    const FixedWidthMeasurer text;
    LintOptions options;
    options.text = &text;
    const CTekDialogData& dialog = project.Dialogs().At(0);
    const std::vector<LintFinding> wide = LintDialog(dialog, options, DeviceSizeOf(project));
    ASSERT_EQ(wide.size(), 2u);
    EXPECT_EQ(wide[0].code, "clipped-text");
    EXPECT_EQ(text.calls, 1);
    // Without a measurer the layout is not checked.
    EXPECT_TRUE(LintDialog(dialog, {}, DeviceSizeOf(project)).empty());
}

TEST(LayoutLint, AnOverlapIsReportedOnceNamingTheFirstNodeOverlapped)
{
    CTekResourceData project;
    test::LoadText(project,
                   SizedProject("FRAME", "{'Name':'a','Type':'TEXT','Text':'a','Width':'50px','Height':'20px'},"
                                         "{'Name':'b','Type':'TEXT','Text':'b','PosX':'20px','Width':'50px',"
                                         "'Height':'20px'},{'Name':'c','Type':'TEXT','Text':'c','PosX':'30px',"
                                         "'Width':'50px','Height':'20px'}"));
    const FixedWidthMeasurer text;
    LintOptions options;
    options.text = &text;
    std::vector<std::string> messages;
    for (const LintFinding& f : LintProject(project, options))
        messages.push_back(f.path + ": " + f.message);
    EXPECT_EQ(messages, (std::vector<std::string>{"root/b: the node overlaps 'a' in its FRAME at 200x300",
                                                  "root/c: the node overlaps 'a' in its FRAME at 200x300"}));
}

TEST(LayoutLint, EveryRuleHasADescription)
{
    for (const char* code : {"outside-area", "zero-size", "clipped-text", "frame-overlap", "small-tap-target"}) {
        auto rule = std::find_if(LintRules().begin(), LintRules().end(),
                                 [&](const LintRule& r) { return std::string(r.code) == code; });
        ASSERT_NE(rule, LintRules().end()) << code;
        EXPECT_NE(std::string(rule->description).find("device size"), std::string::npos) << code;
    }
}

TEST(LayoutLint, DialogNamesAloneGiveTheProjectWideFindings)
{
    CTekResourceData project;
    test::LoadText(project, Project(Dialog(kText + "}") + "," + Dialog(kText + "}") +
                                    ",{'Command':'DIALOG','Name':'3x','TemplateType':'None'}"));
    project.Dialogs().At(1).SetItem("Name", "D");
    std::vector<std::string> lines;
    for (const LintFinding& f : LintDialogNames(project))
        lines.push_back(f.code + " " + f.Location());
    EXPECT_EQ(lines, (std::vector<std::string>{"duplicate-dialog D", "bad-dialog-name 3x"}));
}

} // namespace
} // namespace vesk
