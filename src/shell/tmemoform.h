// The rules viewer: one modeless window that shows a game's rules file, line
// by line. The game windows set RulesFileName, the caption and the icon, then
// show it; every activation reloads the file.
#pragma once

#include "tform.h"

class QListWidget;
class TBitBtn;

// The file the viewer loads on its next activation, relative to the current
// directory.
extern QString RulesFileName;

class TMemoForm : public TForm {
    Q_OBJECT
public:
    TMemoForm();

    void FormActivate() override;

    QListWidget* ListBox1;
    TBitBtn* BitBtn1;
};

extern TMemoForm* MemoForm;

// Reads a Windows-1251 text file into lines (CR LF, CR or LF end a line).
// Throws EError "Cannot open file <name>" when the file cannot be read.
QStringList readRulesFile(const QString& fileName);
