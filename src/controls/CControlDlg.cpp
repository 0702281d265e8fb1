#include "controls/CControlDlg.h"

#include "platform/AppEvents.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>

namespace {

const QColor kPressedTint(0xC0, 0xFF, 0xFF, 0x80);
const QColor kBlank(10, 12, 18);

} // namespace

CControlDlg::CControlDlg(QWidget* ownerWindow, QObject* view, const QString& picturePath)
    : QWidget(ownerWindow, Qt::Tool | Qt::FramelessWindowHint), m_View(view),
      m_PicturePath(picturePath) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetPadSize(40);
}

const QImage& CControlDlg::Picture() const {
    if (!m_Picture)
        m_Picture = QImage(m_PicturePath);
    return *m_Picture;
}

void CControlDlg::SetPadSize(int percent) {
    // Never larger than the picture: a hand-edited size would otherwise cover the screen with a
    // window too big to paint, and overflow on the way.
    percent = std::clamp(percent, 1, 100);
    resize(percent * kPictureWidth / 100, percent * kPictureHeight / 100);
}

int CControlDlg::CellAt(QPoint point) const {
    const int cellWidth = width() / kColumns;
    const int cellHeight = height() / kRows;
    if (!rect().contains(point) || cellWidth == 0 || cellHeight == 0)
        return -1;
    // The pixels left over at the right and bottom edges belong to the last column and row.
    const int column = std::min(point.x() / cellWidth, kColumns - 1);
    const int row = std::min(point.y() / cellHeight, kRows - 1);
    return row * kColumns + column;
}

QRect CControlDlg::CellRect(int code) const {
    const int w = width();
    const int h = height();
    const int margin = (4 * w + 192) / 384;
    const int row = code / kColumns;
    const int column = code % kColumns;
    const int left = column * w / kColumns + margin + 1;
    const int right = (column + 1) * w / kColumns - margin;
    const int top = row * h / kRows + margin + 1;
    const int bottom = (row + 1) * h / kRows - margin;
    return {left, top, right - left, bottom - top};
}

void CControlDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (Picture().isNull()) {
        painter.fillRect(rect(), kBlank);
    } else {
        if (m_Scaled.size() != size())
            m_Scaled = Picture().scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter.drawImage(0, 0, m_Scaled);
    }
    if (m_PressedCell >= 0)
        painter.fillRect(CellRect(m_PressedCell), kPressedTint);
}

void CControlDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int code = CellAt(event->position().toPoint());
    if (code == kGripCell) {
        SetPressedCell(-1);
        StartDrag(event->globalPosition().toPoint());
    } else if (code >= 0) {
        SetPressedCell(code);
    }
}

void CControlDlg::mouseMoveEvent(QMouseEvent* event) {
    if (m_Dragging) {
        move(event->globalPosition().toPoint() - m_DragOffset);
        return;
    }
    // Leaving the pressed cell cancels the press: nothing is sent on release.
    if (m_PressedCell >= 0 && CellAt(event->position().toPoint()) != m_PressedCell)
        SetPressedCell(-1);
}

void CControlDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_Dragging = false;
    const int code = m_PressedCell;
    if (code < 0)
        return;
    SetPressedCell(-1);
    // A release that lands elsewhere without a move in between is a cancel as well.
    if (CellAt(event->position().toPoint()) == code && m_View)
        QCoreApplication::postEvent(m_View, new CAppEvent(WM_PAD_COMMAND, code));
}

// A double click is one click: its second press arrives only as this event, and the first
// click has sent the code already. (Qt's default would press the cell a second time.)
void CControlDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void CControlDlg::hideEvent(QHideEvent*) {
    SetPressedCell(-1);
    m_Dragging = false;
}

void CControlDlg::StartDrag(QPoint globalPos) {
    QWindow* window = windowHandle();
    if (window && window->startSystemMove())
        return;
    // The platform would not move the window: follow the pointer ourselves until release.
    m_Dragging = true;
    m_DragOffset = globalPos - pos();
}

void CControlDlg::SetPressedCell(int code) {
    if (code == m_PressedCell)
        return;
    if (m_PressedCell >= 0)
        update(CellRect(m_PressedCell));
    m_PressedCell = code;
    if (code >= 0)
        update(CellRect(code));
}
