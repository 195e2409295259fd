// veskres layout and veskres render: options, printed rectangles, written images, exit status.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QImage>

#include "guienvironment.h"
#include "cli/commands.h"
#include "render/previewpainter.h"
#include "textconv/textconv.h"

namespace vesk::cli {
namespace {

// The render command draws text, which needs a GUI application on the offscreen platform.
// Two dialogs: Main stacks three buttons, the last one weighted; 設定 holds a FRAME group
// with a Japanese-named text and a picture.
const char* const kProject = R"({'Name':'T','DeviceWidth':480,'DeviceHeight':800,'Commands':[
{'Command':'DIALOG','Name':'Main','Object':
{'Name':'root','Type':'GROUP','Layout':'LINEAR','Width':'PARENT','Height':'PARENT','Vertical':true,'Objects':[
{'Name':'b1','Type':'BUTTON','Text':'OK'},
{'Name':'b2','Type':'BUTTON'},
{'Name':'b3','Type':'BUTTON','Weight':1}
]}},
{'Command':'DIALOG','Name':'設定','TargetLayoutWidth':200,'TargetLayoutHeight':400,'Object':
{'Name':'top','Type':'GROUP','Layout':'FRAME','Width':'PARENT','Height':'PARENT','Objects':[
{'Name':'見出し','Type':'TEXT','Width':'100','Height':'40','Text':'設定画面'},
{'Name':'pic','Type':'PICTURE','Width':'50px','Height':'20px','File':'a.png'}
]}}
]})";

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class PreviewCommandTest : public ::testing::Test {
protected:
    PreviewCommandTest()
        : m_folder(std::filesystem::temp_directory_path() /
                   ("vesk_preview_cli_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        std::filesystem::create_directories(m_folder);
        // Files hold Shift_JIS, as the editor writes them.
        std::ofstream(Path("project.veskspro"), std::ios::binary) << Utf8ToShiftJisExact(kProject);
    }
    ~PreviewCommandTest() override { std::filesystem::remove_all(m_folder); }

    std::string Path(const std::string& name) const { return (m_folder / name).string(); }

    static Outcome Run(int (*command)(const std::vector<std::string>&, std::ostream&, std::ostream&),
                       const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        const int status = command(args, out, err);
        return {status, out.str(), err.str()};
    }

    std::filesystem::path m_folder;
};

TEST_F(PreviewCommandTest, LayoutPrintsEveryObjectOfTheFirstDialog)
{
    const Outcome outcome = Run(RunLayout, {Path("project.veskspro")});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "BUTTON\tb1\t5\t5\t55\t44\n"
                           "BUTTON\tb2\t5\t44\t55\t83\n"
                           "BUTTON\tb3\t5\t83\t55\t795\n");
    EXPECT_EQ(outcome.err, "");
}

TEST_F(PreviewCommandTest, LayoutOfANamedDialogAtAGivenSize)
{
    // 200 x 400 pu in a 410 x 810 area: 100 pu is 200 pixels wide, 40 pu 80 high.
    const Outcome outcome = Run(RunLayout, {Path("project.veskspro"), "--dialog", "設定", "--size", "410x810"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "TEXT\t見出し\t5\t5\t205\t85\n"
                           "PICTURE\tpic\t5\t5\t55\t25\n");
    const Outcome again = Run(RunLayout, {"--size=410x810", "--dialog=設定", Path("project.veskspro")});
    EXPECT_EQ(again.out, outcome.out);
}

TEST_F(PreviewCommandTest, LayoutFailures)
{
    Outcome outcome = Run(RunLayout, {Path("project.veskspro"), "--dialog", "Nope"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("no dialog named 'Nope'"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("Main 設定"), std::string::npos) << outcome.err;

    outcome = Run(RunLayout, {Path("missing.veskspro")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("missing.veskspro"), std::string::npos) << outcome.err;

    std::ofstream(Path("broken.veskspro"), std::ios::binary) << "{'Name':'T','Commands':[";
    outcome = Run(RunLayout, {Path("broken.veskspro")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_FALSE(outcome.err.empty());

    std::ofstream(Path("empty.veskspro"), std::ios::binary) << "{'Name':'T'}";
    outcome = Run(RunLayout, {Path("empty.veskspro")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("holds no dialog"), std::string::npos) << outcome.err;
}

TEST_F(PreviewCommandTest, UsageErrors)
{
    const std::string project = Path("project.veskspro");
    const std::vector<std::vector<std::string>> bad = {
        {},
        {project, project},
        {project, "--size"},
        {project, "--size", "480"},
        {project, "--size", "0x800"},
        {project, "--size", "480x-1"},
        {project, "--size", "axb"},
        {project, "--wide"},
        {project, "-o", "x.png"},
    };
    for (const auto& args : bad) {
        const Outcome outcome = Run(RunLayout, args);
        EXPECT_EQ(outcome.status, 2) << outcome.err;
        EXPECT_NE(outcome.err.find("usage: veskres layout"), std::string::npos) << outcome.err;
    }
    const std::vector<std::vector<std::string>> badRender = {
        {project},
        {project, "-o"},
        {project, "-o", ""},
        {project, "-o", Path("x.png"), "--size", "9000x10"},
        {project, "-o", Path("x.png"), "--zoom", "24"},
        {project, "-o", Path("x.png"), "--zoom", "801"},
        {project, "-o", Path("x.png"), "--zoom", "100%"},
        {project, "-o", Path("x.png"), "--zoom", ""},
        {project, "-o", Path("x.png"), "--zoom"},
        {project, "-o", Path("x.png"), "--size", "2000x100", "--zoom", "800"},
        {"-o", Path("x.png")},
    };
    for (const auto& args : badRender) {
        const Outcome outcome = Run(RunRender, args);
        EXPECT_EQ(outcome.status, 2) << outcome.err;
        EXPECT_NE(outcome.err.find("usage: veskres render"), std::string::npos) << outcome.err;
    }
    EXPECT_FALSE(std::filesystem::exists(Path("x.png")));
}

TEST_F(PreviewCommandTest, RenderWritesThePreviewImage)
{
    const Outcome outcome = Run(RunRender, {Path("project.veskspro"), "-o", Path("main.png")});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const QImage image(QString::fromStdString(Path("main.png")));
    ASSERT_EQ(image.size(), QSize(480, 800));
    EXPECT_EQ(image.pixel(0, 0), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(8, 0), qRgb(192, 192, 192));
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 0));    // the first button's corner
    EXPECT_EQ(image.pixel(54, 43), qRgb(0, 0, 0));  // and its opposite corner
    EXPECT_EQ(image.pixel(54, 794), qRgb(0, 0, 0)); // the weighted button reaches the bottom
    EXPECT_EQ(image.pixel(300, 400), qRgb(255, 255, 255));

    const Outcome sized =
        Run(RunRender, {Path("project.veskspro"), "--dialog", "設定", "--size", "300x200", "--output", Path("s.png")});
    ASSERT_EQ(sized.status, 0) << sized.err;
    const QImage small(QString::fromStdString(Path("s.png")));
    ASSERT_EQ(small.size(), QSize(300, 200));
    EXPECT_EQ(small.pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_EQ(small.pixel(299, 199), qRgb(192, 192, 192));
}

TEST_F(PreviewCommandTest, RenderFailures)
{
    Outcome outcome = Run(RunRender, {Path("project.veskspro"), "-o", Path("no folder/out.png")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("cannot write"), std::string::npos) << outcome.err;

    outcome = Run(RunRender, {Path("project.veskspro"), "--dialog", "Other", "-o", Path("out.png")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("no dialog named 'Other'"), std::string::npos) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(Path("out.png")));
}

TEST_F(PreviewCommandTest, RenderLooks)
{
    const std::string project = Path("project.veskspro");
    ASSERT_EQ(Run(RunRender, {project, "-o", Path("default.png")}).status, 0);
    ASSERT_EQ(Run(RunRender, {project, "--look", "box", "-o", Path("box.png")}).status, 0);
    const QImage box(QString::fromStdString(Path("box.png")));
    EXPECT_EQ(box, QImage(QString::fromStdString(Path("default.png"))));

    const Outcome device = Run(RunRender, {project, "--look", "device", "-o", Path("device.png")});
    ASSERT_EQ(device.status, 0) << device.err;
    const QImage image(QString::fromStdString(Path("device.png")));
    ASSERT_EQ(image.size(), QSize(480, 800));
    EXPECT_NE(image, box);
    EXPECT_EQ(image.pixel(479, 0), qRgb(255, 255, 255));    // the dialog's white, edge to edge
    EXPECT_EQ(image.pixel(8, 799), qRgb(0x88, 0x88, 0x88)); // the weighted button's edge reaches the bottom
    EXPECT_EQ(image.pixel(5, 790), qRgb(0xEE, 0xEE, 0xEE)); // and its face
    EXPECT_EQ(image.pixel(300, 400), qRgb(255, 255, 255));

    // A picture that is not there is drawn as a placeholder framed in red.
    ASSERT_EQ(Run(RunRender, {project, "--dialog", "設定", "--look", "device", "-o", Path("pic.png")}).status, 0);
    const QImage picture(QString::fromStdString(Path("pic.png")));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(picture.pixel(49, 19), qRgb(255, 0, 0));
    EXPECT_EQ(picture.pixel(50, 20), qRgb(255, 255, 255));

    const Outcome bad = Run(RunRender, {project, "--look", "boxes", "-o", Path("bad.png")});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("--look wants box or device"), std::string::npos) << bad.err;
    EXPECT_FALSE(std::filesystem::exists(Path("bad.png")));
}

TEST_F(PreviewCommandTest, RenderZoomScalesThePicture)
{
    const std::string project = Path("project.veskspro");
    const struct {
        const char* zoom;
        QSize size;
    } cases[] = {{"25", {75, 50}}, {"50", {150, 100}}, {"100", {300, 200}}, {"200", {600, 400}}, {"800", {2400, 1600}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zoom);
        for (const char* look : {"box", "device"}) {
            const std::string out = Path(std::string(look) + c.zoom + ".png");
            const Outcome outcome =
                Run(RunRender, {project, "--look", look, "--size", "300x200", "--zoom", c.zoom, "-o", out});
            ASSERT_EQ(outcome.status, 0) << outcome.err;
            EXPECT_EQ(QImage(QString::fromStdString(out)).size(), c.size) << look;
        }
    }
    // At 200 % the first button's 5-pixel inset is 10 pixels and its corner lies at twice the place.
    const QImage twice(QString::fromStdString(Path("box200.png")));
    EXPECT_EQ(twice.pixel(10, 10), qRgb(0, 0, 0));
    EXPECT_NE(twice.pixel(8, 8), qRgb(0, 0, 0));
}

} // namespace
} // namespace vesk::cli
