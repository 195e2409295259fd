#include "chrome/folderchooser.h"

#include <future>
#include <memory>
#include <thread>

#include <sys/stat.h>

#include <QCoreApplication>
#include <QFileDialog>

namespace vesk {

bool FolderExistsWithin(const std::string& path, std::chrono::milliseconds limit)
{
    if (path.empty())
        return false;
    // The worker owns its copy of the path and its promise, so a test that outlives the wait
    // finishes on its own without touching anything of the caller's.
    auto answer = std::make_shared<std::promise<bool>>();
    std::future<bool> result = answer->get_future();
    std::thread([answer, path] {
        struct stat info {};
        answer->set_value(::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode));
    }).detach();
    if (result.wait_for(limit) != std::future_status::ready)
        return false;
    return result.get();
}

QString ChooseFolderDialog(QWidget* parent, const QString& title, const QString& prompt, const QString& start)
{
    QFileDialog dialog(parent, title);
    dialog.setObjectName(QStringLiteral("folderChooser"));
    dialog.setAccessibleName(title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setLabelText(QFileDialog::LookIn, prompt);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("OK"));
    dialog.setLabelText(QFileDialog::Reject, QCoreApplication::translate("vesk::FolderChooser", "キャンセル"));
    const QByteArray startPath = start.toUtf8();
    if (FolderExistsWithin(std::string(startPath.constData(), static_cast<size_t>(startPath.size()))))
        dialog.setDirectory(start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace vesk
