#include "dialogs/CSettingDlg.h"

#include "dialogs/CUpDownCtrl.h"
#include "dialogs/DialogLook.h"
#include "platform/AppEvents.h"
#include "platform/IPrompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <type_traits>
#include <utility>

namespace {

const QStringList& SizeSteps() {
    static const QStringList steps{QStringLiteral("最小"), QStringLiteral("小さめ"),
                                   QStringLiteral("中"), QStringLiteral("大きめ"),
                                   QStringLiteral("最大")};
    Q_ASSERT(steps.size() == kFontSizeSteps);
    return steps;
}

const QRegularExpression& IntegerPattern() {
    static const QRegularExpression pattern(QStringLiteral("^[+-]?[0-9]+$"));
    return pattern;
}

QLabel* MakeLabel(const QString& text, QWidget* parent, Qt::Alignment alignment = {}) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

} // namespace

template <auto Member> CSettingDlg::NumberAccess CSettingDlg::Access() {
    using Value = std::remove_reference_t<decltype(std::declval<ViewSettings&>().*Member)>;
    return {[](const ViewSettings& s) -> int64_t { return s.*Member; },
            [](ViewSettings& s, int64_t value) { s.*Member = static_cast<Value>(value); }};
}

CSettingDlg::CSettingDlg(IPrompter& prompter, QObject* padSizeTarget, QWidget* parent)
    : QDialog(parent), m_Prompter(prompter), m_PadSizeTarget(padSizeTarget) {
    setWindowTitle(QStringLiteral("設定"));
    setFont(DialogLook::Font(9));
    BuildLayout();
}

void CSettingDlg::BuildLayout() {
    auto* grid = new QGridLayout(this);
    grid->setColumnMinimumWidth(3, DialogLook::Pixels(16, 0).width());
    grid->setColumnStretch(3, 1);

    m_NormalSize = AddSizeList(grid, 0, "1000", QStringLiteral("ノーマル画面のフォントサイズ"));
    m_FullSize = AddSizeList(grid, 1, "1001", QStringLiteral("フルスクリーンのフォントサイズ"));
    grid->addWidget(BuildPadSizeBox(), 0, 4, 2, 3);
    grid->setRowMinimumHeight(2, DialogLook::Pixels(0, 12).height());

    AddNumberField(grid, 3, 0, "1006", "1007", QStringLiteral("スキップ送りの秒数"),
                   SettingKey::SkipForwardSec, Access<&ViewSettings::m_nSkipForwardSec>());
    AddNumberField(grid, 3, 4, "1008", "1009", QStringLiteral("スキップ戻りの秒数"),
                   SettingKey::SkipBackSec, Access<&ViewSettings::m_nSkipBackSec>());
    grid->setRowMinimumHeight(4, DialogLook::Pixels(0, 8).height());

    AddTextField(grid, 5, "1002", QStringLiteral("ビデオファイル拡張子"),
                 &ViewSettings::m_strExtFilterV);
    AddTextField(grid, 7, "1003", QStringLiteral("オーディオファイル拡張子"),
                 &ViewSettings::m_strExtFilterA);
    m_NoResumeForAudio =
        new QCheckBox(QStringLiteral("オーディオファイルはレジューム登録しない"), this);
    m_NoResumeForAudio->setObjectName(QStringLiteral("1004"));
    grid->addWidget(m_NoResumeForAudio, 9, 0, 1, 7);
    grid->setRowMinimumHeight(10, DialogLook::Pixels(0, 12).height());

    AddNumberField(grid, 11, 0, "1013", "1014", QStringLiteral("再生開始／終了判定時間(msec)"),
                   SettingKey::EndChkTimeout, Access<&ViewSettings::m_nEndChkTimeout>());
    AddNumberField(grid, 12, 0, "1015", "1016", QStringLiteral("MPlayer初期化判定値"),
                   SettingKey::MPPrepCycleTime, Access<&ViewSettings::mplayerPrepCycleTime>());

    AddButtons(grid, 14);
    ChainTabOrder();
}

void CSettingDlg::AddButtons(QGridLayout* grid, int row) {
    m_Ok = new QPushButton(QStringLiteral("OK"), this);
    m_Ok->setObjectName(QStringLiteral("1"));
    m_Ok->setDefault(true);
    m_Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    m_Cancel->setObjectName(QStringLiteral("2"));
    connect(m_Ok, &QPushButton::clicked, this, &CSettingDlg::accept);
    connect(m_Cancel, &QPushButton::clicked, this, &CSettingDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {m_Ok, m_Cancel}) {
        button->setMinimumSize(DialogLook::Pixels(52, 17));
        buttons->addWidget(button);
    }
    grid->setRowStretch(row - 1, 1);
    grid->addLayout(buttons, row, 0, 1, 7);
}

void CSettingDlg::ChainTabOrder() {
    // The tab order the dialog has always had: the buttons first, then the fields.
    const QList<QWidget*> tabOrder{m_Ok,
                                   m_Cancel,
                                   m_NormalSize,
                                   m_FullSize,
                                   m_PadSize,
                                   m_NumberFields[0].edit,
                                   m_NumberFields[1].edit,
                                   m_TextFields[0].edit,
                                   m_TextFields[1].edit,
                                   m_NoResumeForAudio,
                                   m_NumberFields[2].edit,
                                   m_NumberFields[3].edit};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

QComboBox* CSettingDlg::AddSizeList(QGridLayout* grid, int row, const char* id,
                                    const QString& label) {
    auto* list = new QComboBox(this);
    list->setObjectName(QString::fromLatin1(id));
    list->addItems(SizeSteps());
    grid->addWidget(MakeLabel(label, this), row, 0);
    grid->addWidget(list, row, 1, 1, 2);
    return list;
}

QWidget* CSettingDlg::BuildPadSizeBox() {
    auto* box = new QWidget(this);
    m_PadSize = new QSlider(Qt::Horizontal, box);
    m_PadSize->setObjectName(QStringLiteral("1005"));
    m_PadSize->setRange(kPadSizeMinimum, kPadSizeMaximum);
    m_PadSize->setTickInterval(10);
    m_PadSize->setTickPosition(QSlider::TicksBelow);
    m_PadSize->setMinimumWidth(DialogLook::Pixels(118, 0).width());
    connect(m_PadSize, &QSlider::valueChanged, this, &CSettingDlg::OnPadSizeMoved);

    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(MakeLabel(QStringLiteral("リモコンパッドのサイズ"), box, Qt::AlignHCenter), 0,
                      0, 1, 2);
    layout->addWidget(MakeLabel(QStringLiteral("小"), box, Qt::AlignLeft), 1, 0);
    layout->addWidget(MakeLabel(QStringLiteral("大"), box, Qt::AlignRight), 1, 1);
    layout->addWidget(m_PadSize, 2, 0, 1, 2);
    return box;
}

void CSettingDlg::AddNumberField(QGridLayout* grid, int row, int column, const char* id,
                                 const char* upDownId, const QString& label, SettingKey key,
                                 NumberAccess access) {
    const SettingDirective& directive = Directive(key);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(id));
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    edit->setFixedWidth(DialogLook::Pixels(44, 0).width());
    auto* upDown = new CUpDownCtrl(edit, static_cast<int>(directive.minimum),
                                   static_cast<int>(directive.maximum), this);
    upDown->setObjectName(QString::fromLatin1(upDownId));
    upDown->setFixedSize(DialogLook::Pixels(14, 16).width(), edit->sizeHint().height());

    grid->addWidget(MakeLabel(label, this), row, column);
    grid->addWidget(edit, row, column + 1);
    grid->addWidget(upDown, row, column + 2);
    m_NumberFields.push_back({directive, access, edit});
}

void CSettingDlg::AddTextField(QGridLayout* grid, int row, const char* id, const QString& label,
                               QString ViewSettings::*member) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(id));
    edit->setMaxLength(kExtensionListLength);
    grid->addWidget(MakeLabel(label, this), row, 0, 1, 7);
    grid->addWidget(edit, row + 1, 0, 1, 7);
    m_TextFields.push_back({member, edit});
}

void CSettingDlg::showEvent(QShowEvent* event) {
    // Each run starts from the values the caller has just set.
    if (!event->spontaneous())
        LoadControls();
    QDialog::showEvent(event);
}

void CSettingDlg::LoadControls() {
    // An index outside the list leaves it without a selection; OK then keeps the member.
    m_NormalSize->setCurrentIndex(values.m_nFontSizeNormal);
    m_FullSize->setCurrentIndex(values.m_nFontSizeFull);
    for (const TextField& field : m_TextFields) {
        const QString& text = values.*field.member;
        // A longer stored list is shown whole, not cut, and refused at OK like a typed one.
        field.edit->setMaxLength(std::max<int>(kExtensionListLength, text.size()));
        field.edit->setText(text);
    }
    m_NoResumeForAudio->setChecked(values.m_bAFNoResume);
    {
        // Shown at the nearest end; the value is kept until the slider moves.
        const QSignalBlocker quiet(m_PadSize);
        m_PadSize->setValue(std::clamp(values.m_nPadSize, kPadSizeMinimum, kPadSizeMaximum));
    }
    for (const NumberField& field : m_NumberFields)
        field.edit->setText(QString::number(field.access.get(values)));
    m_Ok->setFocus();
}

void CSettingDlg::accept() {
    if (!ValidateControls())
        return;
    StoreControls();
    QDialog::accept();
}

bool CSettingDlg::ValidateControls() {
    for (const TextField& field : m_TextFields) {
        if (field.edit->text().size() > kExtensionListLength) {
            RejectField(
                field.edit,
                QStringLiteral("%1 文字以内で入力してください。").arg(kExtensionListLength));
            return false;
        }
    }
    for (const NumberField& field : m_NumberFields) {
        const QString text = field.edit->text().trimmed();
        if (!IntegerPattern().match(text).hasMatch()) {
            RejectField(field.edit, QStringLiteral("整数を入力してください。"));
            return false;
        }
        bool isNumber = false;
        const qlonglong value = text.toLongLong(&isNumber);
        // A digit run too long for any integer type is out of range too.
        const SettingDirective& range = field.directive;
        if (!isNumber || value < range.minimum || value > range.maximum) {
            RejectField(field.edit, QStringLiteral("%1 から %2 までの整数を入力してください。")
                                        .arg(range.minimum)
                                        .arg(range.maximum));
            return false;
        }
    }
    return true;
}

void CSettingDlg::RejectField(QLineEdit* edit, const QString& message) {
    m_Prompter.ShowMessage(message, MessageIcon::Warning);
    edit->setFocus();
    edit->selectAll();
}

void CSettingDlg::StoreControls() {
    for (const TextField& field : m_TextFields)
        values.*field.member = field.edit->text();
    values.m_bAFNoResume = m_NoResumeForAudio->isChecked();
    for (const NumberField& field : m_NumberFields)
        field.access.set(values, field.edit->text().trimmed().toLongLong());
    if (m_NormalSize->currentIndex() >= 0)
        values.m_nFontSizeNormal = m_NormalSize->currentIndex();
    if (m_FullSize->currentIndex() >= 0)
        values.m_nFontSizeFull = m_FullSize->currentIndex();
}

void CSettingDlg::OnPadSizeMoved(int position) {
    values.m_nPadSize = position;
    if (m_PadSizeTarget)
        QCoreApplication::postEvent(m_PadSizeTarget, new CAppEvent(WM_PAD_SIZE, position));
}
