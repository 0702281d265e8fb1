#pragma once

#include "settings/ProgramVersion.h"

#include <QDialog>

// The program's name, maker and version.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kVersionId = "1011";

    explicit CAboutDlg(const ProgramVersion& version, QWidget* parent = nullptr);
};
