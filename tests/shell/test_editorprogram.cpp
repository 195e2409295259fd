// The editor's executable: its options, and the picture it takes of its window.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "shell/application.h"

namespace vesk {
namespace {

const QString kEditor = QStringLiteral(VESK_RUNTIME_DIR "/vesk-resource-editor");

struct ProcessRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ProcessRun RunEditorProcess(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(kEditor, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

/// How many distinct colours a region of the picture holds (up to a limit).
int ColoursIn(const QImage& image, const QRect& region)
{
    QSet<QRgb> colours;
    for (int y = region.top(); y <= region.bottom() && colours.size() < 64; y += 2)
        for (int x = region.left(); x <= region.right(); x += 2)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

TEST(EditorProgram, ScreenshotOfTheDemoProject)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("shot.png"));
    const ProcessRun run = RunEditorProcess(
        {QStringLiteral(VESK_SOURCE_DIR "/examples/demo.veskspro"), QStringLiteral("--screenshot"), picture});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage image(picture);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 1000);
    EXPECT_GE(image.height(), 700);

    // The first dialog's preview: a white area inside the window area at the left.
    const QRect dialogArea(0, 60, image.width() * 55 / 100, image.height() * 60 / 100);
    int white = 0;
    for (int y = dialogArea.top(); y < dialogArea.bottom(); ++y)
        for (int x = dialogArea.left(); x < dialogArea.right(); ++x)
            white += image.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_GT(white, dialogArea.width() * dialogArea.height() / 10) << "the preview's white area";

    // The docks hold pictures, texts and the tree, not a blank fill.
    const QRect resourceDock(image.width() * 60 / 100, 60, image.width() * 40 / 100 - 1, image.height() / 2);
    const QRect logDock(0, image.height() * 75 / 100, image.width() / 2, image.height() * 20 / 100);
    EXPECT_GT(ColoursIn(image, resourceDock), 8);
    EXPECT_GT(ColoursIn(image, logDock), 8);
}

TEST(EditorProgram, VersionHelpAndBadOptions)
{
    const ProcessRun version = RunEditorProcess({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("vesk-resource-editor " VESK_VERSION "\n"));
    const ProcessRun help = RunEditorProcess({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--screenshot")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("--quit")));
    const ProcessRun bad = RunEditorProcess({QStringLiteral("--colour")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("unknown option --colour")));
}

TEST(EditorOptions, CommandLines)
{
    struct Case {
        std::vector<const char*> arguments;
        bool valid;
        std::string file;
        std::string screenshot;
        bool quit = false;
    } cases[] = {
        {{"e"}, true, "", ""},
        {{"e", "p.veskspro"}, true, "p.veskspro", ""},
        {{"e", "p.veskspro", "--screenshot", "o.png"}, true, "p.veskspro", "o.png"},
        {{"e", "--quit", "p.veskspro"}, true, "p.veskspro", "", true},
        {{"e", "--screenshot"}, false, "", ""},
        {{"e", "a", "b"}, false, "", ""},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv;
        for (const char* argument : c.arguments)
            argv.push_back(const_cast<char*>(argument));
        std::string error;
        const auto options = ParseEditorOptions(static_cast<int>(argv.size()), argv.data(), error);
        ASSERT_EQ(options.has_value(), c.valid) << error;
        if (options) {
            EXPECT_EQ(options->file, c.file);
            EXPECT_EQ(options->screenshot, c.screenshot);
            EXPECT_EQ(options->quit, c.quit);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
}

} // namespace
} // namespace vesk
