// The install: `cmake --install` of the build into a temporary DESTDIR with the prefix /usr, the
// installed programs run from there, the desktop files checked with the desktop's own tools, and
// the Debian package that CPack makes.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstring>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace vesk {
namespace {

const QString kBuildDir = QStringLiteral(VESK_BINARY_DIR);
const QString kSourceDir = QStringLiteral(VESK_SOURCE_DIR);
const QString kComponent = QStringLiteral("vesk-resource-editor");
const QString kVersion = QStringLiteral(VESK_VERSION);
const QStringList kDataFolders = {QStringLiteral("template"), QStringLiteral("objects"), QStringLiteral("assets"),
                                  QStringLiteral("samples")};
/// Every part of the skeleton, so that generate reads every template.
const QString kEveryRow = QStringLiteral("main,app,maker,dialogs,json,project,makefile");
/// The user an installed program runs as when the test runs as root (nobody on Debian).
constexpr uid_t kUnprivileged = 65534;

struct ProcessRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ProcessRun RunProcess(const QString& program, const QStringList& arguments,
                      const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForStarted(30000))
        return {-1, {}, QStringLiteral("cannot start ") + program};
    if (!process.waitForFinished(240000)) {
        process.kill();
        process.waitForFinished();
        return {-1, {}, program + QStringLiteral(" did not finish")};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

std::string Explain(const ProcessRun& run)
{
    return ("exit " + QString::number(run.exitCode) + "\n" + run.out + run.err).toStdString();
}

bool Have(const char* tool)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty();
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

/// The files under a folder, relative to it and sorted.
QStringList FilesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

/// Width and height from a PNG file's header; (0, 0) when it is no PNG.
QSize PngSize(const QString& path)
{
    const QByteArray bytes = ReadAll(path);
    if (bytes.size() < 24 || !bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return {};
    const auto at = [&](int offset) {
        return static_cast<int>(
            (static_cast<uint8_t>(bytes[offset]) << 24) | (static_cast<uint8_t>(bytes[offset + 1]) << 16) |
            (static_cast<uint8_t>(bytes[offset + 2]) << 8) | static_cast<uint8_t>(bytes[offset + 3]));
    };
    return {at(16), at(20)};
}

/// Where the picture lies, pixel for pixel, in the image; nothing when nowhere.
std::optional<QPoint> FindPicture(const QImage& image, const QImage& picture)
{
    const QImage haystack = image.convertToFormat(QImage::Format_RGB32);
    const QImage needle = picture.convertToFormat(QImage::Format_RGB32);
    const size_t rowBytes = static_cast<size_t>(needle.width()) * 4;
    for (int y = 0; y + needle.height() <= haystack.height(); ++y)
        for (int x = 0; x + needle.width() <= haystack.width(); ++x) {
            int row = 0;
            while (row < needle.height() &&
                   std::memcmp(haystack.constScanLine(y + row) + x * 4, needle.constScanLine(row), rowBytes) == 0)
                ++row;
            if (row == needle.height())
                return QPoint(x, y);
        }
    return std::nullopt;
}

/// A temporary folder that anyone may enter (the installed editor runs as another user in it).
class OpenTempDir {
public:
    OpenTempDir() { ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755); }
    bool IsValid() const { return m_dir.isValid(); }
    QString Path(const QString& relative = {}) const
    {
        return relative.isEmpty() ? m_dir.path() : m_dir.path() + QLatin1Char('/') + relative;
    }

private:
    QTemporaryDir m_dir;
};

/// The component installed with `cmake --install BUILD --prefix /usr --component ...` into a
/// DESTDIR of its own.
class Install : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_temp.IsValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DESTDIR"), DestDir());
        const ProcessRun install = RunProcess(QStringLiteral(VESK_CMAKE_COMMAND),
                                              {QStringLiteral("--install"), kBuildDir, QStringLiteral("--prefix"),
                                               QStringLiteral("/usr"), QStringLiteral("--component"), kComponent},
                                              environment);
        ASSERT_EQ(install.exitCode, 0) << Explain(install);
    }

    QString DestDir() const { return m_temp.Path(QStringLiteral("dest")); }
    /// A path below the installed prefix.
    QString Usr(const QString& relative) const { return DestDir() + QStringLiteral("/usr/") + relative; }
    QString Data(const QString& relative) const
    {
        return Usr(QStringLiteral("share/vesk-resource-editor/") + relative);
    }
    QString Temp(const QString& relative) const { return m_temp.Path(relative); }

    /// The environment of an installed program run by the test: its own home and configuration
    /// folder, no display.
    QProcessEnvironment UserEnvironment(const QString& home) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/runtime"));
        return environment;
    }

    /// Runs the installed editor; as the unprivileged user (through setpriv) when asked.
    ProcessRun RunEditor(const QStringList& arguments, const QString& home, bool unprivileged) const
    {
        const QString editor = Usr(QStringLiteral("bin/vesk-resource-editor"));
        if (!unprivileged)
            return RunProcess(editor, arguments, UserEnvironment(home));
        QStringList wrapped = {QStringLiteral("--reuid=%1").arg(kUnprivileged),
                               QStringLiteral("--regid=%1").arg(kUnprivileged), QStringLiteral("--clear-groups"),
                               QStringLiteral("--"), editor};
        return RunProcess(QStringLiteral("setpriv"), wrapped + arguments, UserEnvironment(home));
    }

    /// A home folder for a run of the editor, owned by the user it runs as.
    QString MakeHome(const QString& name, bool unprivileged) const
    {
        const QString home = Temp(name);
        for (const QString& folder :
             {QString(), QStringLiteral("/.config/VeskResourceEditor"), QStringLiteral("/runtime")})
            QDir().mkpath(home + folder);
        ::chmod(QFile::encodeName(home + QStringLiteral("/runtime")).constData(), 0700);
        if (unprivileged)
            ChownTree(home);
        return home;
    }

    static void ChownTree(const QString& folder)
    {
        QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        QStringList paths = {folder};
        while (it.hasNext())
            paths << it.next();
        for (const QString& path : paths)
            EXPECT_EQ(::chown(QFile::encodeName(path).constData(), kUnprivileged, kUnprivileged), 0)
                << path.toStdString();
    }

    /// The demo project copied where any user may read it.
    QString DemoProject() const
    {
        const QString folder = Temp(QStringLiteral("project"));
        QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/demo.veskspro");
        QFile::copy(kSourceDir + QStringLiteral("/examples/demo.veskspro"), path);
        return path;
    }

private:
    OpenTempDir m_temp;
};

TEST_F(Install, ProgramsDataDesktopFilesAndManualPagesInTheirPlaces)
{
    // Two programs in bin/, nothing else there; everything else under share/.
    EXPECT_EQ(QDir(DestDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("usr")});
    EXPECT_EQ(QDir(Usr({})).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("bin"), QStringLiteral("share")}));
    EXPECT_EQ(QDir(Usr(QStringLiteral("bin"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("vesk-resource-editor"), QStringLiteral("veskres")}));
    for (const char* program : {"bin/vesk-resource-editor", "bin/veskres"})
        EXPECT_TRUE(QFileInfo(Usr(QString::fromLatin1(program))).isExecutable()) << program;

    // The data that lies beside the executable in the build folder, byte for byte.
    for (const QString& folder : kDataFolders) {
        const QString source = kSourceDir + QStringLiteral("/data/") + folder;
        const QStringList files = FilesUnder(source);
        EXPECT_FALSE(files.isEmpty()) << folder.toStdString();
        EXPECT_EQ(FilesUnder(Data(folder)), files) << folder.toStdString();
        for (const QString& file : files)
            EXPECT_EQ(ReadAll(Data(folder + QLatin1Char('/') + file)), ReadAll(source + QLatin1Char('/') + file))
                << file.toStdString();
    }

    // The translations the editor loads, as the build made them.
    const QByteArray english = ReadAll(Data(QStringLiteral("translations/vesk_en.qm")));
    EXPECT_FALSE(english.isEmpty());
    EXPECT_EQ(english, ReadAll(QStringLiteral(VESK_RUNTIME_DIR "/translations/vesk_en.qm")));

    // The icon at each size (as its folder names it) and as SVG, the desktop entry and the file type.
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString icon = Usr(QStringLiteral("share/icons/hicolor/%1x%1/apps/vesk-resource-editor.png").arg(size));
        EXPECT_EQ(PngSize(icon), QSize(size, size)) << icon.toStdString();
    }
    EXPECT_TRUE(ReadAll(Usr(QStringLiteral("share/icons/hicolor/scalable/apps/vesk-resource-editor.svg")))
                    .contains("<svg xmlns=\"http://www.w3.org/2000/svg\""));
    EXPECT_TRUE(QFileInfo::exists(Usr(QStringLiteral("share/applications/vesk-resource-editor.desktop"))));
    EXPECT_TRUE(QFileInfo::exists(Usr(QStringLiteral("share/mime/packages/vesk-resource-editor.xml"))));

    // The manual pages, compressed, with the version filled in; groff reads them without a warning.
    for (const char* name : {"veskres", "vesk-resource-editor"}) {
        const QString page = Usr(QStringLiteral("share/man/man1/%1.1.gz").arg(QString::fromLatin1(name)));
        const ProcessRun text = RunProcess(QStringLiteral("gzip"), {QStringLiteral("-dc"), page});
        ASSERT_EQ(text.exitCode, 0) << Explain(text);
        EXPECT_TRUE(
            text.out.startsWith(QStringLiteral(".TH ") + QString::fromLatin1(name).toUpper() + QStringLiteral(" 1 ")))
            << name;
        EXPECT_TRUE(text.out.contains(QStringLiteral("Vesk Resource Editor ") + kVersion)) << name;
        for (const char* section : {".SH NAME", ".SH SYNOPSIS", ".SH DESCRIPTION", ".SH OPTIONS", ".SH EXIT STATUS",
                                    ".SH FILES", ".SH SEE ALSO"})
            EXPECT_TRUE(text.out.contains(QString::fromLatin1(section))) << name << ": " << section;
        if (!Have("groff"))
            continue;
        const QString plain = Temp(QString::fromLatin1(name) + QStringLiteral(".1"));
        ASSERT_TRUE(WriteAll(plain, text.out.toUtf8()));
        const ProcessRun groff =
            RunProcess(QStringLiteral("groff"), {QStringLiteral("-man"), QStringLiteral("-Tutf8"),
                                                 QStringLiteral("-ww"), QStringLiteral("-z"), plain});
        EXPECT_EQ(groff.exitCode, 0) << Explain(groff);
        EXPECT_EQ(groff.err, QString()) << name;
    }
}

TEST_F(Install, InstalledProgramsTellTheirVersionAndUsage)
{
    const QProcessEnvironment environment = UserEnvironment(Temp(QStringLiteral("home")));
    const ProcessRun veskresVersion = RunProcess(Usr(QStringLiteral("bin/veskres")), {QStringLiteral("--version")});
    EXPECT_EQ(veskresVersion.exitCode, 0);
    EXPECT_EQ(veskresVersion.out, QStringLiteral("veskres ") + kVersion + QLatin1Char('\n'));
    const ProcessRun veskresHelp = RunProcess(Usr(QStringLiteral("bin/veskres")), {QStringLiteral("--help")});
    EXPECT_EQ(veskresHelp.exitCode, 0);
    for (const char* command : {"check", "format", "diff", "merge", "git-setup", "lint", "layout", "render", "generate",
                                "serve", "send", "terminal"})
        EXPECT_TRUE(veskresHelp.out.contains(QStringLiteral("veskres ") + QString::fromLatin1(command))) << command;
    EXPECT_TRUE(veskresHelp.out.contains(QStringLiteral("--version")));

    const QString editor = Usr(QStringLiteral("bin/vesk-resource-editor"));
    const ProcessRun editorVersion = RunProcess(editor, {QStringLiteral("--version")}, environment);
    EXPECT_EQ(editorVersion.exitCode, 0);
    EXPECT_EQ(editorVersion.out, QStringLiteral("vesk-resource-editor ") + kVersion + QLatin1Char('\n'));
    const ProcessRun editorHelp = RunProcess(editor, {QStringLiteral("--help")}, environment);
    EXPECT_EQ(editorHelp.exitCode, 0);
    for (const char* option : {"FILE", "--screenshot", "--quit", "--version", "--help"})
        EXPECT_TRUE(editorHelp.out.contains(QString::fromLatin1(option))) << option;
}

TEST_F(Install, VeskresGeneratesFromTheInstalledTemplates)
{
    const QString demo = kSourceDir + QStringLiteral("/examples/demo.veskspro");
    const QString installed = Temp(QStringLiteral("installed"));
    const QString built = Temp(QStringLiteral("built"));
    const QString away = Temp(QStringLiteral("away"));
    for (const QString& folder : {installed, built, away})
        ASSERT_TRUE(QDir().mkpath(folder));
    const ProcessRun fromInstall = RunProcess(Usr(QStringLiteral("bin/veskres")),
                                              {QStringLiteral("generate"), demo, QStringLiteral("--out"), installed,
                                               QStringLiteral("--all"), QStringLiteral("--rows"), kEveryRow});
    ASSERT_EQ(fromInstall.exitCode, 0) << Explain(fromInstall);
    const ProcessRun fromBuild = RunProcess(QStringLiteral(VESK_RUNTIME_DIR "/veskres"),
                                            {QStringLiteral("generate"), demo, QStringLiteral("--out"), built,
                                             QStringLiteral("--all"), QStringLiteral("--rows"), kEveryRow});
    ASSERT_EQ(fromBuild.exitCode, 0) << Explain(fromBuild);

    // The same skeleton as the build folder's veskres writes from the templates beside it.
    const QStringList files = FilesUnder(built);
    EXPECT_GE(files.size(), 12);
    EXPECT_TRUE(files.contains(QStringLiteral("Makefile")));
    EXPECT_EQ(FilesUnder(installed), files);
    for (const QString& file : files)
        EXPECT_EQ(ReadAll(installed + QLatin1Char('/') + file), ReadAll(built + QLatin1Char('/') + file))
            << file.toStdString();

    // Without the installed templates nothing else stands in for them.
    ASSERT_TRUE(QDir().rename(Data(QStringLiteral("template")), Data(QStringLiteral("template.away"))));
    const ProcessRun without =
        RunProcess(Usr(QStringLiteral("bin/veskres")), {QStringLiteral("generate"), demo, QStringLiteral("--out"), away,
                                                        QStringLiteral("--rows"), QStringLiteral("main")});
    EXPECT_EQ(without.exitCode, 1) << Explain(without);
    EXPECT_TRUE(without.out.contains(QStringLiteral("テンプレートの読込みエラー"))) << Explain(without);
}

TEST_F(Install, EditorShowsTheInstalledObjectPicturesInItsSidePanel)
{
    const QString project = DemoProject();
    const QString home = MakeHome(QStringLiteral("home"), false);
    const QString picturePath = Data(QStringLiteral("objects/01_TEXT.png"));
    const QImage installedPicture(picturePath);
    ASSERT_FALSE(installedPicture.isNull());

    const QString shot = home + QStringLiteral("/shot.png");
    const ProcessRun run = RunEditor({project, QStringLiteral("--screenshot"), shot}, home, false);
    ASSERT_EQ(run.exitCode, 0) << Explain(run);
    const QImage image(shot);
    ASSERT_FALSE(image.isNull());
    const std::optional<QPoint> at = FindPicture(image, installedPicture);
    ASSERT_TRUE(at.has_value()) << "the installed TEXT picture is not in the window";
    // The side panel lies in the lower part of the window.
    EXPECT_GT(at->y(), image.height() / 2);

    // A changed installed picture is what the next start shows.
    QImage changed = installedPicture.convertToFormat(QImage::Format_RGB888);
    changed.invertPixels();
    ASSERT_TRUE(changed.save(picturePath, "PNG"));
    const QString shot2 = home + QStringLiteral("/shot2.png");
    const ProcessRun again = RunEditor({project, QStringLiteral("--screenshot"), shot2}, home, false);
    ASSERT_EQ(again.exitCode, 0) << Explain(again);
    const QImage image2(shot2);
    EXPECT_EQ(FindPicture(image2, changed), at);
    EXPECT_FALSE(FindPicture(image2, installedPicture).has_value());
}

/// Runs the installed editor on the demo project with a settings file in the user's folder and
/// closes it; checks that it read those settings, wrote them back there, and wrote nothing into
/// the install.
void ExpectSettingsInTheUserFolder(const QString& home, const QString& project, const QString& programFolder,
                                   const ProcessRun& run)
{
    ASSERT_EQ(run.exitCode, 0) << Explain(run);
    const QString settings = home + QStringLiteral("/.config/VeskResourceEditor/VeskResourceEditor.ini");
    const QString text = QString::fromUtf8(ReadAll(settings));
    // Read: the seeded port and folder come back; written: the opened project is the recent file.
    EXPECT_TRUE(text.contains(QStringLiteral("ListenPort=5123"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("ProjectFolder=") + QFileInfo(project).path())) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("; seeded by the install test"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("File1=") + project)) << text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(programFolder + QStringLiteral("/VeskResourceEditor.ini")));
}

TEST_F(Install, SettingsOfTheInstalledEditorLiveInTheUserFolder)
{
    const QString project = DemoProject();
    const QByteArray seed = "[SETTING]\nProjectFolder=" + QFile::encodeName(QFileInfo(project).path()) +
                            "\nListenPort=5123\n; seeded by the install test\n";
    const QString bin = Usr(QStringLiteral("bin"));
    const QStringList arguments = {project, QStringLiteral("--screenshot"), QStringLiteral("shot.png"),
                                   QStringLiteral("--quit")};
    const auto seedSettings = [&](const QString& home) {
        const QString settings = home + QStringLiteral("/.config/VeskResourceEditor/VeskResourceEditor.ini");
        ASSERT_TRUE(WriteAll(settings, seed));
    };

    // As the user who installed it: the folder could be written, yet an installed editor keeps
    // its settings per user.
    {
        SCOPED_TRACE("writable install folder");
        const QString home = MakeHome(QStringLiteral("owner"), false);
        seedSettings(home);
        QStringList here = arguments;
        here[2] = home + QStringLiteral("/shot.png");
        ExpectSettingsInTheUserFolder(home, project, bin, RunEditor(here, home, false));
    }

    // As a user who cannot write the install folder.
    {
        SCOPED_TRACE("read-only install folder");
        const bool root = ::geteuid() == 0;
        if (root)
            ASSERT_TRUE(Have("setpriv")) << "setpriv (util-linux) runs the editor as an unprivileged user";
        else
            ASSERT_EQ(::chmod(QFile::encodeName(bin).constData(), 0555), 0);
        const QString home = MakeHome(QStringLiteral("user"), root);
        seedSettings(home);
        if (root)
            ChownTree(home);
        QStringList here = arguments;
        here[2] = home + QStringLiteral("/shot.png");
        const ProcessRun run = RunEditor(here, home, root);
        if (!root)
            ::chmod(QFile::encodeName(bin).constData(), 0755);
        ExpectSettingsInTheUserFolder(home, project, bin, run);
        if (root) {
            EXPECT_EQ(::access(QFile::encodeName(bin).constData(), W_OK), 0) << "root could have written there";
        }
    }
}

TEST_F(Install, DesktopEntryIconAndFileTypePassTheDesktopTools)
{
    const QString desktop = Usr(QStringLiteral("share/applications/vesk-resource-editor.desktop"));
    const QString mime = Usr(QStringLiteral("share/mime/packages/vesk-resource-editor.xml"));
    const QString entry = QString::fromUtf8(ReadAll(desktop));
    for (const char* line :
         {"Type=Application", "Name=Vesk Resource Editor", "Name[ja]=", "Exec=vesk-resource-editor %f",
          "Icon=vesk-resource-editor", "MimeType=application/x-vesk-project;", "Categories=Development;"})
        EXPECT_TRUE(entry.contains(QLatin1Char('\n') + QString::fromUtf8(line))) << line;

    if (Have("desktop-file-validate")) {
        const ProcessRun validate = RunProcess(QStringLiteral("desktop-file-validate"), {desktop});
        EXPECT_EQ(validate.exitCode, 0) << Explain(validate);
        EXPECT_EQ(validate.out + validate.err, QString()) << Explain(validate);
    }
    if (Have("update-desktop-database")) {
        // The desktop's own index names the editor for project files.
        const ProcessRun index =
            RunProcess(QStringLiteral("update-desktop-database"), {Usr(QStringLiteral("share/applications"))});
        EXPECT_EQ(index.exitCode, 0) << Explain(index);
        EXPECT_TRUE(ReadAll(Usr(QStringLiteral("share/applications/mimeinfo.cache")))
                        .contains("application/x-vesk-project=vesk-resource-editor.desktop;"));
    }
    if (Have("xmllint")) {
        for (const QString& file :
             {mime, Usr(QStringLiteral("share/icons/hicolor/scalable/apps/vesk-resource-editor.svg"))}) {
            const ProcessRun wellFormed = RunProcess(QStringLiteral("xmllint"), {QStringLiteral("--noout"), file});
            EXPECT_EQ(wellFormed.exitCode, 0) << Explain(wellFormed);
        }
        const ProcessRun glob =
            RunProcess(QStringLiteral("xmllint"),
                       {QStringLiteral("--xpath"),
                        QStringLiteral("string(//*[local-name()='mime-type'][@type='application/x-vesk-project']"
                                       "/*[local-name()='glob']/@pattern)"),
                        mime});
        EXPECT_EQ(glob.out.trimmed(), QStringLiteral("*.veskspro")) << Explain(glob);
    }
    if (Have("update-mime-database")) {
        // The shared MIME database built from the installed description knows the project files.
        // The installed share folder is named as a data folder, as the desktop names /usr/share.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_DIRS"), Usr(QStringLiteral("share")));
        const ProcessRun database =
            RunProcess(QStringLiteral("update-mime-database"), {Usr(QStringLiteral("share/mime"))}, environment);
        EXPECT_EQ(database.exitCode, 0) << Explain(database);
        EXPECT_EQ(database.err, QString()) << Explain(database);
        EXPECT_TRUE(
            ReadAll(Usr(QStringLiteral("share/mime/globs2"))).contains("application/x-vesk-project:*.veskspro"));
        EXPECT_TRUE(QFileInfo::exists(Usr(QStringLiteral("share/mime/application/x-vesk-project.xml"))));
    }
}

TEST(DebianPackage, CPackMakesAPackageWithItsDependencies)
{
    for (const char* tool : {"dpkg-deb", "dpkg-shlibdeps", "file"}) {
        if (!Have(tool))
            GTEST_SKIP() << tool << " is not installed (scripts/setup installs it)";
    }
    OpenTempDir temp;
    ASSERT_TRUE(temp.IsValid());
    const ProcessRun pack = RunProcess(QStringLiteral(VESK_CPACK_COMMAND),
                                       {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), temp.Path(),
                                        QStringLiteral("--config"), kBuildDir + QStringLiteral("/CPackConfig.cmake")});
    ASSERT_EQ(pack.exitCode, 0) << Explain(pack);
    const QStringList debs = QDir(temp.Path()).entryList({QStringLiteral("*.deb")}, QDir::Files);
    ASSERT_EQ(debs.size(), 1) << debs.join(QLatin1Char(' ')).toStdString();
    const QString deb = temp.Path(debs[0]);
    EXPECT_TRUE(debs[0].startsWith(QStringLiteral("vesk-resource-editor_") + kVersion + QLatin1Char('_')));

    const auto field = [&](const char* name) {
        return RunProcess(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), deb, QString::fromLatin1(name)})
            .out.trimmed();
    };
    EXPECT_EQ(field("Package"), QStringLiteral("vesk-resource-editor"));
    EXPECT_EQ(field("Version"), kVersion);
    EXPECT_EQ(field("Section"), QStringLiteral("devel"));
    EXPECT_TRUE(field("Maintainer").contains(QRegularExpression(QStringLiteral(".+ <.+@.+>"))));
    const QStringList description = field("Description").split(QLatin1Char('\n'));
    EXPECT_GE(description.size(), 3);
    for (const QString& line : description)
        EXPECT_LE(line.size(), 80) << line.toStdString();
    const QString depends = field("Depends");
    for (const char* library :
         {"libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6", "libicu", "qt6-qpa-plugins"})
        EXPECT_TRUE(depends.contains(QString::fromLatin1(library))) << library << " in " << depends.toStdString();

    const ProcessRun contents = RunProcess(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), deb});
    ASSERT_EQ(contents.exitCode, 0) << Explain(contents);
    for (const char* path :
         {"./usr/bin/vesk-resource-editor", "./usr/bin/veskres", "./usr/share/vesk-resource-editor/template/Makefile",
          "./usr/share/vesk-resource-editor/objects/01_TEXT.png",
          "./usr/share/vesk-resource-editor/samples/Clipboard.png",
          "./usr/share/applications/vesk-resource-editor.desktop", "./usr/share/mime/packages/vesk-resource-editor.xml",
          "./usr/share/icons/hicolor/48x48/apps/vesk-resource-editor.png", "./usr/share/man/man1/veskres.1.gz"})
        EXPECT_TRUE(contents.out.contains(QString::fromLatin1(path) + QLatin1Char('\n'))) << path;
    EXPECT_FALSE(contents.out.contains(QStringLiteral("./usr/bin/template")));

    // Unpacked, the programs run and veskres finds the packaged templates.
    const QString root = temp.Path(QStringLiteral("root"));
    const ProcessRun extract = RunProcess(QStringLiteral("dpkg-deb"), {QStringLiteral("--extract"), deb, root});
    ASSERT_EQ(extract.exitCode, 0) << Explain(extract);
    const ProcessRun version = RunProcess(root + QStringLiteral("/usr/bin/veskres"), {QStringLiteral("--version")});
    EXPECT_EQ(version.out, QStringLiteral("veskres ") + kVersion + QLatin1Char('\n'));
    ASSERT_TRUE(QDir().mkpath(temp.Path(QStringLiteral("out"))));
    const ProcessRun generate = RunProcess(
        root + QStringLiteral("/usr/bin/veskres"),
        {QStringLiteral("generate"), kSourceDir + QStringLiteral("/examples/demo.veskspro"), QStringLiteral("--out"),
         temp.Path(QStringLiteral("out")), QStringLiteral("--all"), QStringLiteral("--rows"), kEveryRow});
    EXPECT_EQ(generate.exitCode, 0) << Explain(generate);
    EXPECT_TRUE(QFileInfo::exists(temp.Path(QStringLiteral("out/Makefile"))));
    const ProcessRun stripped =
        RunProcess(QStringLiteral("file"), {root + QStringLiteral("/usr/bin/vesk-resource-editor")});
    EXPECT_TRUE(stripped.out.contains(QStringLiteral(", stripped"))) << Explain(stripped);
}

} // namespace
} // namespace vesk
