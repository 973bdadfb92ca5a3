// A row of indicator lamps, as one group for a screen reader: the row has a
// name of its own (what the lamps count) and every lamp in it reads as a
// picture named by its state. It draws nothing, so the lamps look exactly as
// they would lying on the window's background.
#pragma once

#include <QWidget>

class TIndicatorRow : public QWidget {
    Q_OBJECT
public:
    explicit TIndicatorRow(QWidget* parent = nullptr)
        : QWidget(parent)
    {
    }
};
