#pragma once
// The laboratory's main window: every control, the parameter handlers, Start and Stop, the
// passes of a run and the 500 ms display refresh. The window owns the engine, reads its
// state and hands it each pass's parameters.

#include <QWidget>

#include <memory>

#include "Experiment.h"
#include "TUpDown.h"
#include "WindowScale.h"

class QCheckBox;
class QGroupBox;
class TButton;
class TCaptionLabel;
class TChart;
class TEdit;
class TFigureBox;
class TLineSeries;
class TPassInputs;
class TProgressBar;
class TRadioGroup;
class TRunLoop;
class TTimer;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int StoredLeft = 194;
    static constexpr int StoredTop = 132;
    static constexpr int StoredWidth = 1024;
    static constexpr int StoredHeight = 768;

    explicit TForm1(QWidget *Parent = nullptr);
    ~TForm1() override;

    // Components, in declaration order; the window owns and destroys them.
    TRadioGroup *RadioGroup1;
    TChart *Chart1;
    TLineSeries *Series1;
    TChart *Chart2;
    TLineSeries *Series2;
    TButton *Button1;
    TButton *Button2;
    TTimer *Timer1;
    TEdit *Edit1;
    TCaptionLabel *Label7;
    TChart *Chart3;
    TLineSeries *Series3;
    TUpDown *UpDown1;
    TRadioGroup *RadioGroup2;
    TRadioGroup *RadioGroup3;
    TCaptionLabel *Label15;
    TEdit *Edit2;
    TUpDown *UpDown2;
    TCaptionLabel *Label16;
    TEdit *Edit3;
    TUpDown *UpDown3;
    QCheckBox *CheckBox1;
    QGroupBox *GroupBox1;
    TFigureBox *Label9;
    TCaptionLabel *Label10;
    TFigureBox *Label11;
    TCaptionLabel *Label12;
    TFigureBox *Label13;
    TCaptionLabel *Label14;
    TProgressBar *ProgressBar1;
    QGroupBox *GroupBox2;
    TFigureBox *Label1;
    TFigureBox *Label3;
    TCaptionLabel *Label4;
    TFigureBox *Label5;
    TCaptionLabel *Label6;
    TCaptionLabel *Label20;
    TFigureBox *Label21;
    TProgressBar *ProgressBar2;
    TProgressBar *ProgressBar3;
    TCaptionLabel *Label2;

    // The engine's figures and histories, for the display.
    const TExperimentState &EngineState() const { return Engine->State(); }
    // For tests only: the engine itself, to plant a state or drive it directly.
    TExperiment &EngineForTest() { return *Engine; }
    // True from Start to Stop (also while a run is held by an error).
    bool Running = false;

    void FormCreate(QObject *Sender);
    void FormDestroy(QObject *Sender);
    void Button1Click(QObject *Sender);
    void Button2Click(QObject *Sender);
    void Timer1Timer(QObject *Sender);
    void Edit1Change(QObject *Sender);
    void Edit2Change(QObject *Sender);
    void UpDown2Click(QObject *Sender, TUDBtnType Button);
    void RadioGroup1Click(QObject *Sender);
    void RadioGroup2Click(QObject *Sender);
    void RadioGroup3Click(QObject *Sender);

    // One pass of the run: the parameters from the controls, then the engine's pass.
    void Pass();

    TRunLoop &RunLoop() { return *FRunLoop; }

    // The factor by which the window's content is shrunk to fit the window; 1 where the window
    // has room for its layout.
    double Scale() const { return FScale.Factor(); }

protected:
    void closeEvent(QCloseEvent *Event) override;
    void showEvent(QShowEvent *Event) override;
    void moveEvent(QMoveEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;

private:
    void CreateControls();
    void AttachHandlers();
    void FitOuterSize();
    // Places the window on its screen's available area, shrinking it where it is too large;
    // Frame is the window system's decoration, 0 x 0 until the window has been decorated, as
    // reported, LargestFrame the most it may be where the report was rounded.
    void FitToScreen(const QSize &Frame, const QSize &LargestFrame);
    // Scales the content to the window's present inside.
    void FitContent();
    // On a window system that tells no free area, a window that may not fit starts maximised.
    void StartMaximisedWhereItMayNotFit();

    std::unique_ptr<TExperiment> Engine;
    TRunLoop *FRunLoop = nullptr;
    TPassInputs *FPassInputs = nullptr;
    bool FSizeFitted = false;
    // The inside that the layout needs: the stored outer size less the decoration.
    QSize FMadeInside{StoredWidth, StoredHeight};
    TWindowScale FScale;
};
