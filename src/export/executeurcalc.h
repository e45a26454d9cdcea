#pragma once
// The one worker thread of the program: the spreadsheet's calls run on it, so that the window
// keeps answering while the office works. The window's thread only posts work to it and
// receives the results (and the progress) as queued calls; nothing is shared meanwhile.
#include "transfertcalc.h"

#include <QObject>

class QThread;

class TExecuteurCalcFil : public QObject, public TExecuteurCalc {
    Q_OBJECT
public:
    // Made on the window's thread, which receives the suites.
    TExecuteurCalcFil();
    // Waits a bounded time for the work in hand to end.
    ~TExecuteurCalcFil() override;

    void executer(std::function<void()> travail, std::function<void()> suite) override;
    void versFenetre(std::function<void()> f) override;

private:
    QThread* fil;
    QObject* ouvrier; // lives on fil
};
