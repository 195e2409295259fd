// One picture everywhere: the same dialog, area, look and zoom give the same pixels in the
// editor's preview area, in veskres render and in the simulated terminal's frame.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include "editor/dialogview.h"
#include "guitestsupport.h"
#include "objects/resourcedata.h"
#include "records/resourcefile.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

const QString kVeskres = QStringLiteral(VESK_RUNTIME_DIR "/veskres");

/// Runs veskres to its end; answers its exit status (-1 when it did not end in time).
int RunVeskres(const QStringList& arguments, QString* output = nullptr)
{
    QProcess process;
    process.start(kVeskres, arguments);
    const bool ended = process.waitForFinished(30000);
    if (output)
        *output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

/// Collects the process's output until done() holds; false after 20 s.
bool WaitUntil(QProcess& process, QString& output, const std::function<bool()>& done)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < 20000) {
        process.waitForReadyRead(100);
        output += QString::fromUtf8(process.readAllStandardOutput());
    }
    return done();
}

class PreviewParityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("vesk_parity_" + std::to_string(QCoreApplication::applicationPid()) +
                                              "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder / "project");
        const fs::path examples = fs::path(VESK_SOURCE_DIR) / "examples";
        fs::copy_file(examples / "demo.veskspro", folder / "project/demo.veskspro");
        fs::copy(examples / "resources", folder / "project/resources", fs::copy_options::recursive);
    }
    void TearDown() override { fs::remove_all(folder); }

    /// The editor's preview area of the demo's Main dialog in a real view.
    QImage EditorPicture(int width, int height, int zoom)
    {
        CTekResourceData resource;
        EXPECT_TRUE(static_cast<bool>(LoadResourceFile(resource, (folder / "project/demo.veskspro").string())));
        CTekDialogDataList& dialogs = resource.Dialogs();
        CTekDialogEditorView view(resource, dialogs.PtrAt(dialogs.IndexOf(dialogs.FindDialog("Main"))));
        view.SetPictureFolders({(QCoreApplication::applicationDirPath() + QStringLiteral("/assets")).toStdString(),
                                (folder / "project").string()});
        view.SetLook(PreviewLook::Device);
        view.SetPreviewSize({PreviewSize::Kind::Fixed, {width, height}});
        view.resize(width * zoom / 100 + 40, height * zoom / 100 + 40);
        view.SetZoom(zoom);
        view.show();
        test::ProcessEvents();
        EXPECT_TRUE(view.rect().contains(view.PictureRect()));
        return view.grab(view.PictureRect()).toImage().convertToFormat(QImage::Format_RGB32);
    }

    QImage RenderedPicture(int width, int height, int zoom)
    {
        const QString out = QString::fromStdString((folder / "render.png").string());
        QString output;
        EXPECT_EQ(
            RunVeskres({QStringLiteral("render"), QString::fromStdString((folder / "project/demo.veskspro").string()),
                        QStringLiteral("--dialog"), QStringLiteral("Main"), QStringLiteral("--look"),
                        QStringLiteral("device"), QStringLiteral("--size"),
                        QStringLiteral("%1x%2").arg(width).arg(height), QStringLiteral("--zoom"), QString::number(zoom),
                        QStringLiteral("-o"), out},
                       &output),
            0)
            << output.toStdString();
        return QImage(out).convertToFormat(QImage::Format_RGB32);
    }

    fs::path folder;
};

TEST_F(PreviewParityTest, EditorRenderAndTerminalGiveTheSamePixels)
{
    const int width = 320;
    const int height = 480;
    // The terminal holds the project's pictures as files it fetched.
    QProcess terminal;
    terminal.start(kVeskres,
                   {QStringLiteral("terminal"), QStringLiteral("--listen"), QStringLiteral("0"),
                    QStringLiteral("--resolution"), QStringLiteral("%1x%2").arg(width).arg(height),
                    QStringLiteral("--cache-dir"), QString::fromStdString((folder / "project/resources").string()),
                    QStringLiteral("--render-dir"), QString::fromStdString((folder / "terminal").string()),
                    QStringLiteral("--exit-after"), QStringLiteral("30")});
    ASSERT_TRUE(terminal.waitForStarted(10000));
    QString output;
    QRegularExpressionMatch port;
    ASSERT_TRUE(WaitUntil(terminal, output, [&] {
        return (port = QRegularExpression(QStringLiteral("PORT:(\\d+) \\[TCP\\]")).match(output)).hasMatch();
    })) << output.toStdString();
    QString sent;
    ASSERT_EQ(RunVeskres({QStringLiteral("send"), QString::fromStdString((folder / "project/demo.veskspro").string()),
                          QStringLiteral("--dialog"), QStringLiteral("Main"), QStringLiteral("--to"),
                          QStringLiteral("127.0.0.1:") + port.captured(1)},
                         &sent),
              0)
        << sent.toStdString();
    ASSERT_TRUE(WaitUntil(terminal, output, [&] { return fs::exists(folder / "terminal/Main.png"); }))
        << output.toStdString();
    terminal.kill();
    terminal.waitForFinished(5000);
    const QImage fromTerminal =
        QImage(QString::fromStdString((folder / "terminal/Main.png").string())).convertToFormat(QImage::Format_RGB32);

    const QImage fromEditor = EditorPicture(width, height, 100);
    const QImage fromRender = RenderedPicture(width, height, 100);
    ASSERT_EQ(fromEditor.size(), QSize(width, height));
    EXPECT_EQ(fromRender, fromEditor);
    EXPECT_EQ(fromTerminal, fromEditor);
    // The demo's pictures are drawn, not placeholders: the picture differs from the box look.
    EXPECT_NE(fromEditor.pixel(width / 2, height / 2), qRgb(0xCC, 0xCC, 0xCC));

    // At other zooms the editor and veskres render still agree.
    for (const int zoom : {50, 200}) {
        SCOPED_TRACE(zoom);
        const QImage zoomed = EditorPicture(width, height, zoom);
        EXPECT_EQ(zoomed.size(), QSize(width * zoom / 100, height * zoom / 100));
        EXPECT_EQ(RenderedPicture(width, height, zoom), zoomed);
    }
}

} // namespace
} // namespace vesk
