#include "view/TitleArea.h"

#include "platform/IPrompter.h"
#include "settings/ViewSettings.h"
#include "view/FolderScreen.h"
#include "view/IFrameServices.h"
#include "view/PathParts.h"
#include "view/PlaybackSession.h"
#include "view/ResumeScreen.h"
#include "view/ViewColors.h"
#include "view/ViewState.h"

#include <QFontDatabase>
#include <QImageReader>
#include <QPainter>

namespace {

QString JapaneseFamily() {
    for (const char* family : {"Noto Sans CJK JP", "Noto Sans JP", "IPAGothic", "VL Gothic"})
        if (QFontDatabase::hasFamily(QString::fromLatin1(family)))
            return QString::fromLatin1(family);
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QFont JapaneseFont(const QString& family, int pixelSize) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

const QString kButtonImage = QStringLiteral(":/artwork/buttons.png");
const QString kAudioBitmap = QStringLiteral(":/artwork/logo.png");

// Decoded when first painted, which comes after the window has been shown.
const QImage& LoadedOnce(QImage& image, const QString& path) {
    if (image.isNull())
        image.load(path);
    return image;
}

} // namespace

void TitleArea::CreateFonts() {
    const QString family = JapaneseFamily();
    for (int k = 0; k < TitleGeometry::kStepCount; ++k) {
        const SizeStep step = TitleGeometry::SizeStepFor(k);
        m_Fonts[k] = {JapaneseFont(family, step.headerFontPx),
                      JapaneseFont(family, step.rowFontPx)};
    }
}

// Only its header is read here; the picture is decoded when an audio file first shows it.
void TitleArea::CreateImages() {
    if (!QImageReader(kAudioBitmap).canRead())
        m_Parts.prompter.ShowMessage(QStringLiteral("LoadBitmap() Error"), MessageIcon::Warning);
}

int TitleArea::SizeIndex() const {
    const ViewSettings& settings = m_Parts.settings;
    return m_Parts.frame.IsFullScreen() ? settings.m_nFontSizeFull : settings.m_nFontSizeNormal;
}

const TitleArea::StepFonts& TitleArea::Fonts() const {
    return m_Fonts[TitleGeometry::StepIndex(SizeIndex())];
}

const QFont& TitleArea::RowFont() const {
    return Fonts().row;
}

const QFont& TitleArea::HeaderFont() const {
    return Fonts().header;
}

// Decoded when a size is first shown: most runs show one of the five.
CImageList& TitleArea::ImageList() {
    const int k = TitleGeometry::StepIndex(SizeIndex());
    if (m_ImageLists[k].Count() == 0) {
        const int side = TitleGeometry::SizeStepFor(k).iconSize;
        m_ImageLists[k].Load(QStringLiteral(":/artwork/icons%1.png").arg(side), side);
    }
    return m_ImageLists[k];
}

TitlePainter::Title TitleArea::Content() {
    const ViewState& state = m_Parts.state;
    TitlePainter::Title title;
    if (state.m_bResumeScreen) {
        title.line1 = QStringLiteral("Resume (%1/%2)")
                          .arg(m_Parts.resume.List().Count())
                          .arg(ResumeList::ResumeCapacity);
        const MediaItem* entry = m_Parts.resume.SelectedEntry();
        title.line2 = entry != nullptr ? PathParts::FolderPart(entry->path) : QString();
        title.color = ViewColors::kResumeTitle;
    } else {
        title.line1 = QStringLiteral("Folder (%1)").arg(m_Parts.folder.FileCount());
        title.line2 = m_Parts.folder.AtDriveLevel() ? QStringLiteral("<Drive Select>")
                                                    : m_Parts.settings.m_strCurrentFolder;
        title.color = ViewColors::kFolderTitle;
    }
    title.sizeIndex = SizeIndex();
    title.fullScreen = m_Parts.frame.IsFullScreen();
    title.skipButton0 =
        !TitleGeometry::HasUpFolderButton(state.m_bResumeScreen, m_Parts.folder.AtDriveLevel());
    title.pressedButton = m_nPressedButton;
    return title;
}

void TitleArea::Paint(QPainter& painter, const QRect& client) {
    const ViewState& state = m_Parts.state;
    const bool playing = m_Parts.session.IsPlaying();
    const bool audio = playing && state.m_CurrentItem.isAudio;
    TitlePainter::PaintBackground(painter, client,
                                  audio ? &LoadedOnce(m_AudioBitmap, kAudioBitmap) : nullptr);
    if (playing)
        return;
    TitlePainter::PaintTitle(painter, client, Content(), RowFont(), HeaderFont(),
                             LoadedOnce(m_ButtonImage, kButtonImage));
}

int TitleArea::HitTestTitleButton(QPoint p, const QRect& client) const {
    const ViewState& state = m_Parts.state;
    return TitleGeometry::HitTestTitleButton(p.x(), p.y(), client, m_Parts.session.IsPlaying(),
                                             m_Parts.frame.IsFullScreen(), state.m_bResumeScreen,
                                             m_Parts.folder.AtDriveLevel(), SizeIndex());
}

bool TitleArea::Press(QPoint p, const QRect& client) {
    m_nPressedButton = HitTestTitleButton(p, client);
    return m_nPressedButton >= 0;
}

QRect TitleArea::TitleButtonRect(int button, const QRect& client) const {
    return TitleGeometry::GetTitleButtonRect(button, client, m_Parts.frame.IsFullScreen(),
                                             SizeIndex());
}
