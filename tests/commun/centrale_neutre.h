#pragma once
// A stand-in driver for tests: every operation a driver must provide, answered the
// neutral way (nothing done, zero, empty; setDurees only forgets the V6 timebase mode).
// Test units derive from it and override what their test is about.
#include "centrale.h"

class TCentraleNeutre : public TCentrale {
public:
    using TCentrale::TCentrale;

    void Reset() override {}
    void RecupereCalibration() override {}
    void MAJCalibrage() override {}
    void activeVoieA(uint8_t, bool) override {}
    void desactiveVoieA(uint8_t, bool) override {}
    void setCal(uint8_t, int, bool) override {}
    double Ux(int, int) override { return 0.0; }
    void setModeDiff(int, bool, bool) override {}
    int ValUx(int, float) override { return 0; }
    void prepareTousPRX(bool) override {}
    bool prepareInterfacePourAcq(bool) override { return false; }
    void determine_tSkipAcquisition() override {}
    void DetermineNBPt0XMAx(int, int64_t&) override {}
    void setDureesGeneriques(double&, double&, int64_t&, int64_t&, int64_t&, int64_t&,
                             double) override {}
    void setDurees(double, int64_t, bool) override { modeAcq = -1; }
    void setDurees(bool) override {}
    bool memesParametresTemporels() override { return false; }
    void memoriseParametresTemporels() override {}
    int setVoieSynchro(int, bool) override { return 0; }
    void setSensDeclSeuil(int, bool) override {}
    void setSensDeclEchelon(int, bool) override {}
    void setPretrig(float, bool) override {}
    void setPretrig(int, bool) override {}
    void getNbPtsPretrig() override {}
    void setModeDeclenchement(int, bool) override {}
    void setSeuilDecl(float) override {}
    void getDTPretrig() override {}
    void declencheAcq() override {}
    void arreteAcq() override {}
    void MesureDirecte() override {}
    void PrepareIdxTraitKirvane() override {}
    bool Presente() override { return false; }
    int LireFifo(TPtrFifoSP5) override { return 0; }
    int TailleTransfertFifo(int) override { return 0; }
    void ViderFifo() override {}
    int presentePendantAcq() override { return 0; }
    QString GetCapU(int) override { return {}; }
    QString GetCapUInd(int) override { return {}; }
    QString getCapEA(int) override { return {}; }
    QString getCapVM(int) override { return {}; }
};
