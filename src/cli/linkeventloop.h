#pragma once

#include <memory>
#include <string>
#include <string_view>

class QCoreApplication;
class QEventLoop;
class QGuiApplication;
class QSocketNotifier;

namespace vesk::cli {

/// The event loop of the link tools: makes the application object when the process has none (a
/// QCoreApplication, or an offscreen QGuiApplication when previews are drawn) and ends the loop
/// on SIGINT or SIGTERM. The previous signal handlers come back on destruction.
class LinkEventLoop {
public:
    explicit LinkEventLoop(bool withGui = false);
    ~LinkEventLoop();
    LinkEventLoop(const LinkEventLoop&) = delete;
    LinkEventLoop& operator=(const LinkEventLoop&) = delete;

    /// Runs until Quit() or a signal.
    void Run();
    void Quit();
    /// Quits after that many milliseconds of running.
    void QuitAfter(int milliseconds);
    /// True when a signal ended the loop.
    bool Interrupted() const { return m_interrupted; }

private:
    std::unique_ptr<QCoreApplication> m_core;
    std::unique_ptr<QGuiApplication> m_gui;
    std::unique_ptr<QEventLoop> m_loop;
    QSocketNotifier* m_signalNotifier = nullptr;
    int m_pipe[2] = {-1, -1};
    bool m_interrupted = false;
};

/// Parses "HOST[:PORT]" (port 1 to 65535, defaultPort when absent); false for a malformed text.
bool ParseHostPort(std::string_view text, std::string& host, int& port, int defaultPort);

} // namespace vesk::cli
