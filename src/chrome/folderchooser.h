#pragma once

#include <chrono>
#include <string>

#include <QString>

class QWidget;

namespace vesk {

/// How long the folder chooser waits for the existence test of its starting folder.
inline constexpr std::chrono::milliseconds kFolderTestLimit{2000};

/// True when the folder exists, tested on a short-lived worker thread; false when the test has
/// not answered within the limit (a hung network mount counts as absent).
bool FolderExistsWithin(const std::string& path, std::chrono::milliseconds limit = kFolderTestLimit);

/// The folder chooser: a modal folder dialog titled title, with the prompt, that starts at start
/// when that folder exists (tested as above) and with nothing selected otherwise. Answers the
/// chosen folder's path, or an empty text when cancelled.
QString ChooseFolderDialog(QWidget* parent, const QString& title, const QString& prompt, const QString& start);

} // namespace vesk
