#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <optional>

// The on-screen control pad: a frameless tool window above the main window showing 3 x 7
// buttons. A press highlights a button; releasing it over the same button posts the button's
// code (row * 3 + column) to the view as WM_PAD_COMMAND. The grip button drags the pad.
class CControlDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPictureWidth = 384;
    static constexpr int kPictureHeight = 896;
    static constexpr int kColumns = 3;
    static constexpr int kRows = 7;
    static constexpr int kGripCell = 1;

    // `view` receives the codes; a picture that cannot be read leaves the pad blank but working.
    CControlDlg(QWidget* ownerWindow, QObject* view,
                const QString& picturePath = QStringLiteral(":/artwork/pad.png"));

    // Resizes to `percent` of the picture's size (1 to 100), keeping the pad's position.
    void SetPadSize(int percent);
    // The code of the cell under `point` (client coordinates), -1 outside the pad.
    int CellAt(QPoint point) const;
    // The highlighted area of cell `code`: the cell less its share of the gap.
    QRect CellRect(int code) const;
    int PressedCell() const { return m_PressedCell; }
    bool HasPicture() const { return !Picture().isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void StartDrag(QPoint globalPos);
    void SetPressedCell(int code);
    const QImage& Picture() const;

    QObject* m_View;
    QString m_PicturePath;
    // Decoded when first needed: the pad starts hidden, and decoding its picture was a fifth
    // of the processor time the program spent before its window was mapped.
    mutable std::optional<QImage> m_Picture;
    QImage m_Scaled; // the picture at the pad's current size
    int m_PressedCell = -1;
    bool m_Dragging = false; // moving the pad ourselves where the system will not
    QPoint m_DragOffset;
};
