// The about box: the program's name, version and credits.
#pragma once

#include "tform.h"

class TBitBtn;
class TShadowLabel;

class TMainFormInfo : public TForm {
    Q_OBJECT
public:
    TMainFormInfo();

    TShadowLabel* Title;
    TBitBtn* BitBtn1;
};

extern TMainFormInfo* MainFormInfo;
