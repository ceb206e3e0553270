#pragma once
// The laboratory's window without a toolkit: the state of its controls, every event it reacts
// to and what that does to the engine and to the other controls, the scheduling of a run and
// what the display refresh shows. A view (the desktop window, the web page) forwards each
// user's action to the control or event here, draws this state, drives Slice while the run
// wants passes and the refresh while Timer1Enabled, and shows the message of an error that
// leaves an event.

#include <memory>

#include "Display.h"
#include "Experiment.h"
#include "LabControls.h"
#include "PassInputs.h"
#include "RunScheduler.h"

class TLab {
public:
    // Start-up: the controls as the window first shows them, the engine, and the RC sections
    // of the time constant the box shows. Clock measures the run's slices.
    explicit TLab(TLabClock &Clock);
    TLab(const TLab &) = delete;
    TLab &operator=(const TLab &) = delete;

    // The controls, named as on the window.
    TRadioGroupModel RadioGroup1{4, skRectangle};
    TEditModel Edit1{"5"};
    TUpDownModel UpDown1{1, 100, 5, &Edit1};
    TRadioGroupModel RadioGroup2{2, fkRC};
    TRadioGroupModel RadioGroup3{2, ckNone};
    // 0.3 with the separator in force, so that Start works under any regional settings.
    TEditModel Edit2;
    TUpDownModel UpDown2{0, 100, 3};
    TEditModel Edit3{"0"};
    TUpDownModel UpDown3{0, 100, 0, &Edit3};
    bool CheckBox1 = false;

    // True from Start to Stop (also while a run is held by an error).
    bool Running() const { return FRunning; }
    // The 500 ms display refresh ticks while this is true: from start-up to Stop, and again
    // from Start.
    bool Timer1Enabled() const { return FTimer1Enabled; }

    // Start, Stop, a tick of the refresh, and a request to close the window, which ends a run.
    void Button1Click();
    void Button2Click();
    void Timer1Timer();
    void FormClose();

    // One pass of the run: the parameters from the controls, then the engine's pass.
    void Pass();
    // The run's scheduling: Slice makes passes while Scheduler().WantsPasses().
    TRunScheduler &Scheduler() { return FScheduler; }
    const TRunScheduler &Scheduler() const { return FScheduler; }
    void Slice() { FScheduler.Slice(); }

    // What the refresh last showed.
    const TDisplay &Display() const { return FDisplay; }
    // The engine's figures and histories.
    const TExperimentState &EngineState() const { return FEngine->State(); }
    // For tests only: the engine itself, to plant a state or drive it directly.
    TExperiment &EngineForTest() { return *FEngine; }

private:
    void Edit1Change();
    void Edit2Change();
    void UpDown2Click(TUDBtnType Button);
    void RadioGroup1Click();
    void RadioGroup2Click();
    void RadioGroup3Click();

    std::unique_ptr<TExperiment> FEngine = std::make_unique<TExperiment>();
    TPassInputs FInputs{{Edit2, CheckBox1, Edit3, RadioGroup1, RadioGroup3, RadioGroup2}};
    TRunScheduler FScheduler;
    TDisplay FDisplay;
    bool FRunning = false;
    bool FTimer1Enabled = true;
};
