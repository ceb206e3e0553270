#pragma once
// The laboratory's main window, a view of the laboratory's behaviour (TLab): it lays out every
// control, forwards each user's action to the laboratory, draws its state and shows the error
// box for an error that leaves it; the charts' menus, their export and the window's fit to its
// screen are its own.

#include <QWidget>

#include <functional>
#include <memory>

#include "Lab.h"
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

    // The behaviour this window shows.
    TLab &Lab() { return *FLab; }
    // The engine's figures and histories.
    const TExperimentState &EngineState() const { return FLab->EngineState(); }
    // Runs a user's action at the catching point, then draws the new state.
    void Forward(const std::function<void()> &Action);

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
    // Shows the laboratory's state: the controls it changes, the run, and a new refresh.
    void DrawState();
    void DrawDisplay();
    void FitOuterSize();
    // Places the window on its screen's available area, shrinking it where it is too large;
    // Frame is the window system's decoration, 0 x 0 until the window has been decorated, as
    // reported, LargestFrame the most it may be where the report was rounded.
    void FitToScreen(const QSize &Frame, const QSize &LargestFrame);
    // Scales the content to the window's present inside.
    void FitContent();
    // On a window system that tells no free area, a window that may not fit starts maximised.
    void StartMaximisedWhereItMayNotFit();

    TRunLoop *FRunLoop;
    std::unique_ptr<TLab> FLab;
    unsigned FDrawnRefreshes = 0;
    bool FSizeFitted = false;
    // The inside that the layout needs: the stored outer size less the decoration.
    QSize FMadeInside{StoredWidth, StoredHeight};
    TWindowScale FScale;
};
