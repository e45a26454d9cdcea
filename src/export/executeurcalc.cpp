#include "executeurcalc.h"

#include <QDeadlineTimer>
#include <QThread>

namespace {
// Longest wait for the work in hand when the window goes away.
constexpr int ATTENTE_FIN_MS = 10000;
} // namespace

TExecuteurCalcFil::TExecuteurCalcFil() : fil(new QThread), ouvrier(new QObject) {
    fil->setObjectName(QStringLiteral("calc"));
    ouvrier->moveToThread(fil);
    connect(fil, &QThread::finished, ouvrier, &QObject::deleteLater);
    fil->start();
}

TExecuteurCalcFil::~TExecuteurCalcFil() {
    fil->quit();
    if (fil->wait(QDeadlineTimer(ATTENTE_FIN_MS))) {
        delete fil;
    } else {
        // The office does not answer: the thread is left to the end of the process rather
        // than destroyed while it runs.
        qWarning("Calc : le travail en cours ne s'est pas terminé.");
    }
}

void TExecuteurCalcFil::executer(std::function<void()> travail, std::function<void()> suite) {
    QMetaObject::invokeMethod(
        ouvrier,
        [this, travail = std::move(travail), suite = std::move(suite)]() mutable {
            try {
                travail();
            } catch (...) {
                // The work reports its errors itself; nothing may escape the thread.
            }
            QMetaObject::invokeMethod(this, std::move(suite), Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void TExecuteurCalcFil::versFenetre(std::function<void()> f) {
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}
