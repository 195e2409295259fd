#include "shell/logdlg.h"

#include <ctime>

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "link/linklog.h"

namespace vesk {

namespace {

constexpr int kPanelMargin = 5;

/// The list kind shown on each picture tab, in tab order.
constexpr std::array<SidePanelListKind, 4> kPageKinds = {
    SidePanelListKind::InsertedObjects,
    SidePanelListKind::Clipboard,
    SidePanelListKind::BuiltinImages,
    SidePanelListKind::StationImages,
};

/// The colour of a log level's lines.
QColor LogColour(int level)
{
    switch (level) {
    case LOG_INFO:
        return QColor(0, 0, 0);
    case LOG_ERROR:
        return QColor(255, 0, 0);
    case LOG_RECEIVED:
        return QColor(80, 80, 200);
    case LOG_SENT:
        return QColor(30, 170, 0);
    default:
        return QColor(100, 100, 100);
    }
}

/// The link log's font: the Windows Japanese monospaced face where it exists, IPA Gothic here.
QFont LogFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(10.5);
    return font;
}

/// A 16 x 16 picture of what a tab holds: a button, a clipboard, two pictures, a log page.
QIcon TabIcon(int page)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(60, 60, 60));
    switch (page) {
    case kPageInsertedObjects:
        painter.setBrush(QColor(225, 225, 225));
        painter.drawRoundedRect(QRectF(0.5, 3.5, 15, 9), 2, 2);
        painter.fillRect(4, 7, 8, 2, QColor(60, 60, 60));
        break;
    case kPageClipboard:
        painter.setBrush(QColor(170, 120, 60));
        painter.drawRect(2, 1, 11, 14);
        painter.fillRect(4, 4, 8, 10, Qt::white);
        painter.fillRect(5, 0, 6, 3, QColor(120, 120, 120));
        break;
    case kPageBuiltinImages:
    case kPageStationImages: {
        const QColor sky = page == kPageBuiltinImages ? QColor(120, 180, 240) : QColor(250, 190, 90);
        painter.setBrush(sky);
        painter.drawRect(0, 2, 15, 12);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 150, 60));
        painter.drawPolygon(QPolygon({QPoint(1, 14), QPoint(6, 7), QPoint(10, 11), QPoint(12, 9), QPoint(15, 14)}));
        break;
    }
    case kPageProblems:
        painter.setBrush(QColor(230, 40, 40));
        painter.drawEllipse(QRectF(0.5, 0.5, 14, 14));
        painter.fillRect(7, 3, 2, 6, Qt::white);
        painter.fillRect(7, 11, 2, 2, Qt::white);
        break;
    case kPageLinkLog:
        painter.setBrush(Qt::white);
        painter.drawRect(1, 0, 13, 15);
        painter.fillRect(3, 3, 9, 2, QColor(255, 0, 0));
        painter.fillRect(3, 7, 7, 2, QColor(80, 80, 200));
        painter.fillRect(3, 11, 9, 2, QColor(30, 170, 0));
        break;
    default:
        break;
    }
    return QIcon(pixmap);
}

std::tm LocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

} // namespace

CLogDlg::CLogDlg(const CDibImageList& insertedObjects, const CDibImageList& clipboard,
                 const CDibImageList& builtinImages, const CDibImageList& stationImages, QWidget* parent)
    : QWidget(parent), m_tabs(new QTabWidget(this)), m_log(new QPlainTextEdit)
{
    setObjectName(QStringLiteral("sidePanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
    layout->addWidget(m_tabs);
    m_tabs->setObjectName(QStringLiteral("sidePanelTabs"));
    m_tabs->setAccessibleName(QStringLiteral("Log"));

    const std::array<const CDibImageList*, 4> imagesOfPage = {&insertedObjects, &clipboard, &builtinImages,
                                                              &stationImages};
    for (size_t page = 0; page < kPageKinds.size(); ++page) {
        const SidePanelListKind kind = kPageKinds[page];
        auto* list = new CImageListCtrl(kind, *imagesOfPage[page]);
        m_lists[static_cast<size_t>(kind)] = list;
        m_tabs->addTab(list, TabIcon(static_cast<int>(page)), ListTitle(kind));
        connect(list, &CImageListCtrl::entryActivated, this, &CLogDlg::entryActivated);
    }

    const QString logTitle = tr("通信ログ");
    m_log->setObjectName(QStringLiteral("linkLog"));
    m_log->setAccessibleName(logTitle);
    m_log->setReadOnly(true);
    m_log->setUndoRedoEnabled(false);
    m_log->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The levels' colours are fixed, so the log keeps a white page whatever the theme.
    QPalette palette = m_log->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    m_log->setPalette(palette);
    m_log->setFont(LogFont());
    m_log->document()->setDefaultFont(LogFont());
    m_tabs->addTab(m_log, TabIcon(kPageLinkLog), logTitle);

    m_tabs->setCurrentIndex(kPageInsertedObjects);
}

CLogDlg::~CLogDlg() = default;

void CLogDlg::AddProblemsPage(QWidget* page)
{
    m_tabs->addTab(page, TabIcon(kPageProblems), tr("問題"));
}

void CLogDlg::ShowPage(int index)
{
    if (index > 0)
        m_tabs->setCurrentIndex(index);
}

int CLogDlg::CurrentPage() const
{
    return m_tabs->currentIndex();
}

bool CLogDlg::GetSelectedEntry(std::string& name, SidePanelListKind& kind) const
{
    const int page = CurrentPage();
    if (page < 0 || page >= static_cast<int>(kPageKinds.size()))
        return false;
    return List(kPageKinds[static_cast<size_t>(page)]).GetSelectedEntry(name, kind);
}

CImageListCtrl& CLogDlg::List(SidePanelListKind kind) const
{
    return *m_lists.at(static_cast<size_t>(kind));
}

void CLogDlg::RefreshLists()
{
    for (CImageListCtrl* list : m_lists)
        list->Refresh();
}

void CLogDlg::AddLog(const std::string& message, int level)
{
    const std::string shown = LogDisplayText(FormatLogLine(LocalNow(), level, message));
    QString line = QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    line += QLatin1Char('\n');

    // A cursor of its own, so that a selection the user made in the log stays as it is.
    QTextCursor end(m_log->document());
    end.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(LogColour(level));
    end.insertText(line, format);

    if (!m_scrollPending) {
        m_scrollPending = true;
        QMetaObject::invokeMethod(this, &CLogDlg::ScrollLogToEnd, Qt::QueuedConnection);
    }
}

void CLogDlg::ScrollLogToEnd()
{
    m_scrollPending = false;
    QScrollBar* bar = m_log->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void CLogDlg::ClearLog()
{
    m_log->clear();
    m_log->document()->setDefaultFont(LogFont());
}

void CLogDlg::OfferPictures(SidePanelListKind kind, const std::string& selectName)
{
    List(kind).SelectByName(selectName);
    ShowPage(kind == SidePanelListKind::StationImages ? kPageStationImages : kPageBuiltinImages);
}

} // namespace vesk
