#include "dialogs/CAboutDlg.h"

#include "dialogs/DialogLook.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(const ProgramVersion& version, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFont(DialogLook::Font(9));

    auto* versionText = new QLabel(QLatin1Char(' ') + version.Text(), this);
    versionText->setObjectName(QString::fromLatin1(kVersionId));
    versionText->setTextFormat(Qt::PlainText);
    versionText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    ok->setMinimumSize(DialogLook::Pixels(50, 16));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Ravolo  Ver."), this), 0, 0);
    layout->addWidget(versionText, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Copyright (C) 2015 Quendal"), this), 1, 0, 1, 2);
    layout->addWidget(ok, 2, 0, 1, 2, Qt::AlignHCenter);
    layout->setColumnStretch(1, 1);
    ok->setFocus();
}
