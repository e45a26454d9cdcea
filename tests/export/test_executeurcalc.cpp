// The worker thread of the Calc transfer: the work runs away from the calling thread, the
// progress and the suite come back to it in order, and an exception stays in the thread.
#include "executeurcalc.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Turns the calling thread's events until fait, at most a few seconds.
bool attendre(const bool& fait) {
    const QDeadlineTimer limite(10000);
    while (!fait && !limite.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return fait;
}

TEST(ExecuteurCalcFil, TravailAilleursSuiteIci) {
    TExecuteurCalcFil executeur;
    QThread* const ici = QThread::currentThread();
    QThread* travailSur = nullptr;
    std::vector<int> recus;
    QThread* recusSur = nullptr;
    bool fini = false;
    executeur.executer(
        [&] {
            travailSur = QThread::currentThread();
            for (int p : {25, 50, 100})
                executeur.versFenetre([&, p] {
                    recus.push_back(p);
                    recusSur = QThread::currentThread();
                });
        },
        [&] { fini = QThread::currentThread() == ici; });
    ASSERT_TRUE(attendre(fini));
    EXPECT_NE(travailSur, ici);
    EXPECT_NE(travailSur, nullptr);
    EXPECT_EQ(recus, (std::vector<int>{25, 50, 100}));
    EXPECT_EQ(recusSur, ici);

    // An exception thrown by the work does not end the program; the suite still runs.
    bool suite = false;
    executeur.executer([] { throw std::runtime_error("panne"); }, [&] { suite = true; });
    EXPECT_TRUE(attendre(suite));
}

} // namespace
