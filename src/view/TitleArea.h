#pragma once

#include "controls/CImageList.h"
#include "view/TitleGeometry.h"
#include "view/TitlePainter.h"

#include <QFont>
#include <QImage>
#include <array>

class FolderScreen;
class IFrameServices;
class IPrompter;
class PlaybackSession;
class QPainter;
class ResumeScreen;
struct ViewSettings;
struct ViewState;

// The title area above the lists and what is drawn at every size step: the fonts, the list
// icons, the title lines and the buttons, with the button pressed now.
class TitleArea {
public:
    struct Parts {
        const ViewSettings& settings;
        const ViewState& state;
        IFrameServices& frame;
        IPrompter& prompter;
        const FolderScreen& folder;
        ResumeScreen& resume;
        const PlaybackSession& session;
    };
    explicit TitleArea(const Parts& parts) : m_Parts(parts) {}

    void CreateFonts();
    void CreateImages();

    // The size step in use: the window's or the full screen's.
    int SizeIndex() const;
    const QFont& RowFont() const;
    const QFont& HeaderFont() const;
    CImageList& ImageList();

    // What the title area shows now (nothing is drawn of it while playing).
    TitlePainter::Title Content();
    void Paint(QPainter& painter, const QRect& client);

    // The button under p, or -1.
    int HitTestTitleButton(QPoint p, const QRect& client) const;
    QRect TitleButtonRect(int button, const QRect& client) const;

    // A left press holds down the button under p; false when there is none.
    bool Press(QPoint p, const QRect& client);
    int PressedButton() const { return m_nPressedButton; }
    void SetPressedButton(int button) { m_nPressedButton = button; }

private:
    struct StepFonts {
        QFont header; // also title line 2
        QFont row;    // also title line 1
    };

    const StepFonts& Fonts() const;

    Parts m_Parts;
    std::array<StepFonts, TitleGeometry::kStepCount> m_Fonts;
    std::array<CImageList, TitleGeometry::kStepCount> m_ImageLists;
    QImage m_ButtonImage;
    QImage m_AudioBitmap;
    int m_nPressedButton = -1; // held down, -1 none
};
