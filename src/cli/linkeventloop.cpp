#include "cli/linkeventloop.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>

#include "cli/cliargs.h"
#include "render/previewpainter.h"

namespace vesk::cli {

namespace {

// The write end of the running loop's signal pipe; a signal handler can reach nothing else.
volatile sig_atomic_t g_signalPipe = -1;
struct sigaction g_previousInt;
struct sigaction g_previousTerm;

void WriteSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    if (g_signalPipe >= 0)
        (void)!::write(g_signalPipe, &byte, 1);
    errno = saved;
}

} // namespace

LinkEventLoop::LinkEventLoop(bool withGui)
{
    if (!QCoreApplication::instance()) {
        if (withGui) {
            m_gui = MakeOffscreenGuiApplication();
        } else {
            static int argc = 1;
            static char name[] = "veskres";
            static char* argv[] = {name, nullptr};
            m_core = std::make_unique<QCoreApplication>(argc, argv);
        }
    }
    m_loop = std::make_unique<QEventLoop>();
    if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_signalPipe = m_pipe[1];
    struct sigaction action {};
    action.sa_handler = WriteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &g_previousInt);
    sigaction(SIGTERM, &action, &g_previousTerm);
    m_signalNotifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read);
    QObject::connect(m_signalNotifier, &QSocketNotifier::activated, m_signalNotifier, [this] {
        char bytes[16];
        while (::read(m_pipe[0], bytes, sizeof bytes) > 0) {
        }
        m_interrupted = true;
        Quit();
    });
}

LinkEventLoop::~LinkEventLoop()
{
    if (m_pipe[0] >= 0) {
        sigaction(SIGINT, &g_previousInt, nullptr);
        sigaction(SIGTERM, &g_previousTerm, nullptr);
        g_signalPipe = -1;
        delete m_signalNotifier;
        ::close(m_pipe[0]);
        ::close(m_pipe[1]);
    }
}

void LinkEventLoop::Run()
{
    if (!m_interrupted)
        m_loop->exec();
}

void LinkEventLoop::Quit()
{
    // Quitting before Run() started must still end it at once.
    QTimer::singleShot(0, m_loop.get(), [this] { m_loop->quit(); });
    m_loop->quit();
}

void LinkEventLoop::QuitAfter(int milliseconds)
{
    QTimer::singleShot(milliseconds, m_loop.get(), [this] { m_loop->quit(); });
}

bool ParseHostPort(std::string_view text, std::string& host, int& port, int defaultPort)
{
    const size_t colon = text.rfind(':');
    std::string_view name = text;
    long number = defaultPort;
    if (colon != std::string_view::npos) {
        name = text.substr(0, colon);
        if (!ParseNumber(text.substr(colon + 1), 1, 65535, number))
            return false;
    }
    if (name.empty())
        return false;
    host.assign(name);
    port = static_cast<int>(number);
    return true;
}

} // namespace vesk::cli
