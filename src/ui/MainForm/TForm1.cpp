#include "TForm1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <array>
#include <cmath>
#include <tuple>

#include "ChartMenu.h"
#include "ChartSeries.h"
#include "DisplayFigures.h"
#include "FiguresMenu.h"
#include "FormAccessibility.h"
#include "NumberSettings.h"
#include "NumberText.h"
#include "PassInputs.h"
#include "RegionalSettings.h"
#include "TButton.h"
#include "TCaptionLabel.h"
#include "TChart.h"
#include "TEdit.h"
#include "TFigureBox.h"
#include "TProgressBar.h"
#include "TRadioGroup.h"
#include "TRunLoop.h"
#include "TTimer.h"
#include "WindowFit.h"

namespace {
const QColor clSkyBlue(166, 202, 240);

// A Wayland client neither places itself nor learns where the compositor's panels are: the
// screen is all it knows of its room, and it keeps this much of each side for them.
constexpr int PanelRoom = 64;

bool FreeAreaUnknown(const QScreen &Screen)
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) &&
           Screen.availableGeometry() == Screen.geometry();
}

QFont WindowFont()
{
    // "MS Sans Serif" where it exists; elsewhere sans-serif families with Cyrillic whose
    // widths keep the captions within their stored sizes.
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(19);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

template <class T> T *Named(T *Widget, const char *Name)
{
    Widget->setObjectName(QString::fromLatin1(Name));
    return Widget;
}

TChart *MakeChart(QWidget *Parent, const char *Name, const QString &Title, const QString &Shows, int Top, int Height,
                  bool FixedLeftAxis)
{
    auto *chart = Named(new TChart(Parent), Name);
    chart->setGeometry(304, Top, 401, Height);
    // A click gives it the focus for the menu key and Shift+F10; Tab passes it by.
    chart->setFocusPolicy(Qt::ClickFocus);
    new TChartMenu(chart);
    chart->SetTitle(Title);
    chart->setAccessibleName(Title);
    chart->setAccessibleDescription(Shows);
    HandNumberSeparators(*chart);
    if (FixedLeftAxis) {
        TScaleDiv &axis = chart->LeftAxis();
        axis.SetAutomatic(false);
        axis.SetAutomaticMinimum(false);
        axis.SetAutomaticMaximum(false);
        axis.SetMinimum(-2.5);
        axis.SetMaximum(2.5);
    }
    return chart;
}

TEdit *MakeEdit(QWidget *Parent, const char *Name, const QString &Text, int Left, int Top)
{
    auto *edit = Named(new TEdit(Parent), Name);
    edit->setText(Text);
    edit->setGeometry(Left, Top, 73, 32);
    return edit;
}

TUpDown *MakeUpDown(QWidget *Parent, const char *Name, int Left, int Top, int16_t Min, int16_t Max, int16_t Position,
                    TEdit *Associate)
{
    auto *upDown = Named(new TUpDown(Parent), Name);
    upDown->setGeometry(Left, Top, 16, 32);
    upDown->SetRange(Min, Max);
    upDown->SetPosition(Position);
    upDown->SetAssociate(Associate);
    return upDown;
}

TCaptionLabel *MakeCaption(QWidget *Parent, const char *Name, const QString &Text, int Left, int Top, int Width,
                           int Height, bool WordWrap = false)
{
    auto *label = Named(new TCaptionLabel(Parent, Text, WordWrap), Name);
    label->Place(Left, Top, Width, Height);
    return label;
}

TFigureBox *MakeFigure(QWidget *Parent, const char *Name, int Left, int Top, int Width = 65, int Height = 25)
{
    auto *box = Named(new TFigureBox(Parent), Name);
    box->setGeometry(Left, Top, Width, Height);
    return box;
}

TProgressBar *MakeBar(QWidget *Parent, const char *Name, int Left, int Top, int Width, int Height, int Max)
{
    auto *bar = Named(new TProgressBar(Parent, 0, Max), Name);
    bar->setGeometry(Left, Top, Width, Height);
    return bar;
}

// Labels are drawn on their parent's surface, below every windowed control of it, in the
// order in which they were made.
void LowerLabels(QWidget *Parent)
{
    const QList<QLabel *> labels = Parent->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    for (auto it = labels.rbegin(); it != labels.rend(); ++it)
        (*it)->lower();
}

void FillSeries(TLineSeries *Series, const auto &History)
{
    Series->RemoveAllPoints();
    for (double v : History.Entries(0, TExperiment::HistLen))
        Series->AppendValue(v);
}

// A caption as a screen reader says it: without its trailing colon.
QString SpokenCaption(const QLabel *Caption)
{
    QString text = Caption->text().trimmed();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text;
}

// The caption names the control and, made its buddy, labels it for a screen reader (an edit
// box rather than its spinner).
void Describe(QWidget *Control, QLabel *Caption, const QString &Group = {})
{
    Control->setAccessibleName(SpokenCaption(Caption));
    if (!Caption->buddy())
        Caption->setBuddy(Control);
    if (auto *upDown = qobject_cast<TUpDown *>(Control))
        upDown->SetAccessibleQuantity(SpokenCaption(Caption));
    if (!Group.isEmpty())
        Control->setAccessibleDescription(Group);
}

// The rows that both figure groups share, in creation order: the peak's caption and box, the
// noise box and caption, the ratio box and caption. The input group has them Down pixels lower,
// and its boxes Right pixels further right, than the output group.
using TFigureRows = std::tuple<TCaptionLabel *, TFigureBox *, TFigureBox *, TCaptionLabel *, TFigureBox *, TCaptionLabel *>;

TFigureRows MakeFigureRows(QGroupBox *Box, const std::array<const char *, 6> &Names, int Right, int Down)
{
    auto *peakCaption = MakeCaption(Box, Names[0], QStringLiteral("Пиковое значение сигнала:"), 98, 41 + Down, 167, 48, true);
    auto *peak = MakeFigure(Box, Names[1], 192 + Right, 64 + Down);
    auto *noise = MakeFigure(Box, Names[2], 192 + Right, 96 + Down);
    auto *noiseCaption = MakeCaption(Box, Names[3], QStringLiteral("СКО шума:"), 81, 97 + Down, 96, 24);
    auto *ratio = MakeFigure(Box, Names[4], 192 + Right, 128 + Down);
    auto *ratioCaption = MakeCaption(Box, Names[5], QStringLiteral("С/Ш:"), 140, 129 + Down, 37, 24);
    Describe(peak, peakCaption, Box->title());
    Describe(noise, noiseCaption, Box->title());
    Describe(ratio, ratioCaption, Box->title());
    return {peakCaption, peak, noise, noiseCaption, ratio, ratioCaption};
}

QString Text(const std::string &Utf8)
{
    return QString::fromStdString(Utf8);
}
} // namespace

TForm1::TForm1(QWidget *Parent) : QWidget(Parent)
{
    InstallFormAccessibility();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Оптимальная фильтрация сигналов"));
    setFont(WindowFont());
    QPalette p = palette();
    p.setColor(QPalette::Window, clSkyBlue);
    setPalette(p);
    setAutoFillBackground(true);
    move(StoredLeft, StoredTop);
    resize(StoredWidth, StoredHeight);

    CreateControls();
    FPassInputs = new TPassInputs(this, Edit2, CheckBox1, Edit3,
                                  {.Simple = RadioGroup1, .Complex = RadioGroup3, .Filter = RadioGroup2});
    FRunLoop = new TRunLoop(this, [this] { Pass(); });
    FormCreate(this);
    // The time-constant box's spinner writes its "5" once as the window comes up, so the RC
    // sections follow the box from the start.
    Edit1Change(Edit1);
    AttachHandlers();
    FScale.Record(this, {GroupBox1, GroupBox2});
    FitToScreen(QSize(0, 0), QSize(0, 0));
    StartMaximisedWhereItMayNotFit();
}

TForm1::~TForm1()
{
    FormDestroy(this);
}

void TForm1::CreateControls()
{
    Label7 = MakeCaption(this, "Label7", QStringLiteral("Постоянная времени RC-цепочки (мкс):"), 0, 506, 196, 48, true);
    Label15 = MakeCaption(this, "Label15", QStringLiteral("СКО шума (В):"), 63, 368, 125, 24);
    Label16 = MakeCaption(this, "Label16", QStringLiteral("Временной сдвиг копии сигнала (мкс):"), 8, 280, 183, 48, true);

    RadioGroup1 = Named(new TRadioGroup(this, QStringLiteral("Простые сигналы"),
                                        {QStringLiteral("Прямоугольные импульсы"), QStringLiteral("Треугольные импульсы 1"),
                                         QStringLiteral("Треугольные импульсы 2"), QStringLiteral("Треугольные импульсы 3")}),
                        "RadioGroup1");
    RadioGroup1->setGeometry(7, 4, 290, 133);
    RadioGroup1->SetItemIndex(skRectangle);

    Chart1 = MakeChart(this, "Chart1", QStringLiteral("Полезный сигнал"),
                       QStringLiteral("График последних 256 отсчётов полезного сигнала без шума, от -2,5 до 2,5"), 8, 240, true);
    Series1 = Chart1->AddLineSeries();
    Chart2 = MakeChart(this, "Chart2", QStringLiteral("Сигнал + Шум на входе фильтра"),
                       QStringLiteral("График последних 256 отсчётов суммы сигнала и шума на входе фильтра, от -2,5 до 2,5"),
                       248, 241, true);
    Series2 = Chart2->AddLineSeries();

    Button1 = Named(new TButton(this, QStringLiteral("Старт")), "Button1");
    Button1->setGeometry(16, 680, 121, 33);
    Button2 = Named(new TButton(this, QStringLiteral("Стоп")), "Button2");
    Button2->setGeometry(152, 680, 121, 33);

    Edit1 = MakeEdit(this, "Edit1", QStringLiteral("5"), 200, 527);

    Chart3 = MakeChart(this, "Chart3", QStringLiteral("Сигнал + Шум на выходе фильтра"),
                       QStringLiteral("График 256 отсчётов суммы сигнала и шума на выходе фильтра, шкала по значениям"),
                       488, 241, false);
    Series3 = Chart3->AddLineSeries();

    UpDown1 = MakeUpDown(this, "UpDown1", 273, 527, 1, 100, 5, Edit1);

    RadioGroup2 = Named(new TRadioGroup(this, QStringLiteral("Тип фильтрации"),
                                        {QStringLiteral("RC-цепочка"), QStringLiteral("Согласованный фильтр")}),
                        "RadioGroup2");
    RadioGroup2->setGeometry(7, 407, 290, 82);
    RadioGroup2->SetItemIndex(fkRC);

    RadioGroup3 = Named(new TRadioGroup(this, QStringLiteral("Сложные сигналы"),
                                        {QStringLiteral("ЛЧМ-импульсы"), QStringLiteral("13-элементный код Баркера")}),
                        "RadioGroup3");
    RadioGroup3->setGeometry(7, 140, 290, 93);
    RadioGroup3->SetItemIndex(ckNone);

    // 0.3 with the separator in force, so that Start works under any regional settings.
    Edit2 = MakeEdit(this, "Edit2", QStringLiteral("0") + QString::fromStdString(DecimalSeparator()) + QStringLiteral("3"),
                     200, 368);
    UpDown2 = MakeUpDown(this, "UpDown2", 272, 368, 0, 100, 3, nullptr);

    Edit3 = MakeEdit(this, "Edit3", QStringLiteral("0"), 200, 304);
    UpDown3 = MakeUpDown(this, "UpDown3", 273, 304, 0, 100, 0, Edit3);

    CheckBox1 = Named(new QCheckBox(QStringLiteral("Копия сигнала (для сложных сигналов)"), this), "CheckBox1");
    CheckBox1->setGeometry(15, 245, 370, 20);
    // It reaches over the edge of the charts and, made later, lies on top of them: its own
    // background, the window's colour rather than the button face a button fills with, keeps
    // its text clear of the chart's frame.
    CheckBox1->setAutoFillBackground(true);
    CheckBox1->setBackgroundRole(QPalette::Window);
    CheckBox1->setChecked(false);

    GroupBox1 = Named(new QGroupBox(QStringLiteral("Вход"), this), "GroupBox1");
    GroupBox1->setGeometry(712, 248, 297, 233);
    std::tie(Label10, Label9, Label11, Label12, Label13, Label14) =
        MakeFigureRows(GroupBox1, {"Label10", "Label9", "Label11", "Label12", "Label13", "Label14"}, 8, 8);
    ProgressBar1 = MakeBar(GroupBox1, "ProgressBar1", 200, 176, 66, 14, 1500);

    GroupBox2 = Named(new QGroupBox(QStringLiteral("Выход"), this), "GroupBox2");
    GroupBox2->setGeometry(712, 488, 297, 241);
    std::tie(Label2, Label1, Label3, Label4, Label5, Label6) =
        MakeFigureRows(GroupBox2, {"Label2", "Label1", "Label3", "Label4", "Label5", "Label6"}, 0, 0);
    Label20 = MakeCaption(GroupBox2, "Label20", QStringLiteral("Выигрыш в С/Ш:"), 36, 177, 141, 24);
    Label21 = MakeFigure(GroupBox2, "Label21", 192, 176, 66, 25);
    ProgressBar2 = MakeBar(GroupBox2, "ProgressBar2", 192, 152, 66, 13, 1500);
    ProgressBar3 = MakeBar(GroupBox2, "ProgressBar3", 192, 200, 66, 13, 100);

    Timer1 = Named(new TTimer(this, 500, true), "Timer1");

    for (QWidget *parent : {static_cast<QWidget *>(this), static_cast<QWidget *>(GroupBox1), static_cast<QWidget *>(GroupBox2)})
        LowerLabels(parent);

    Describe(Edit1, Label7);
    Describe(UpDown1, Label7);
    Describe(Edit2, Label15);
    Describe(UpDown2, Label15);
    Describe(Edit3, Label16);
    Describe(UpDown3, Label16);
    Describe(Label21, Label20, GroupBox2->title());
    // The bars show the ratio and the gain beside their figure boxes; the group tells them apart.
    const auto barName = [](const QGroupBox *Box, const QLabel *Caption) {
        return Box->title() + QStringLiteral(": ") + SpokenCaption(Caption);
    };
    ProgressBar1->setAccessibleName(barName(GroupBox1, Label14));
    ProgressBar2->setAccessibleName(barName(GroupBox2, Label6));
    ProgressBar3->setAccessibleName(barName(GroupBox2, Label20));

    new TFiguresMenu(this, {GroupBox1, GroupBox2}, {Label9, Label11, Label13, Label1, Label3, Label5, Label21});
}

void TForm1::AttachHandlers()
{
    Button1->OnClick = [this] { Button1Click(Button1); };
    Button2->OnClick = [this] { Button2Click(Button2); };
    Timer1->OnTimer = [this] { Timer1Timer(Timer1); };
    Edit1->OnChange = [this] { Edit1Change(Edit1); };
    Edit2->OnChange = [this] { Edit2Change(Edit2); };
    UpDown2->OnClick = [this](TUDBtnType button) { UpDown2Click(UpDown2, button); };
    RadioGroup1->OnClick = [this] { RadioGroup1Click(RadioGroup1); };
    RadioGroup2->OnClick = [this] { RadioGroup2Click(RadioGroup2); };
    RadioGroup3->OnClick = [this] { RadioGroup3Click(RadioGroup3); };
}

void TForm1::FormCreate(QObject *)
{
    Engine = std::make_unique<TExperiment>();
}

void TForm1::FormDestroy(QObject *)
{
    Engine.reset();
}

void TForm1::Button1Click(QObject *)
{
    Running = true;
    Timer1->SetEnabled(true);
    // Start during a run restarts the averaging of the same run.
    Engine->StartRun();
    FRunLoop->Start();
}

void TForm1::Button2Click(QObject *)
{
    Running = false;
    Timer1->SetEnabled(false);
    FRunLoop->Stop();
}

void TForm1::Pass()
{
    Engine->Pass(FPassInputs->Read());
}

void TForm1::Timer1Timer(QObject *)
{
    const TExperimentState &e = Engine->State();
    FillSeries(Series1, e.SignalHist);
    FillSeries(Series2, e.InputHist);
    FillSeries(Series3, e.OutputHist);
    Label9->setText(Text(FigureText(e.InPeak)));
    Label11->setText(Text(FigureText(e.InNoiseRms)));
    Label13->setText(Text(FigureText(e.InSnr)));
    Label1->setText(Text(FigureText(e.OutPeak)));
    Label3->setText(Text(FigureText(e.OutNoiseRms)));
    Label5->setText(Text(FigureText(e.OutSnr)));
    Label21->setText(Text(GainText(e.InSnr, e.OutSnr)));
    ProgressBar1->SetPosition(RatioBarPosition(e.InSnr, ProgressBar1->maximum()));
    ProgressBar2->SetPosition(RatioBarPosition(e.OutSnr, ProgressBar2->maximum()));
    ProgressBar3->SetPosition(GainBarPosition(e.InSnr, e.OutSnr, ProgressBar3->maximum()));
}

void TForm1::Edit1Change(QObject *)
{
    const long double tau = ParseFloatText(Edit1->text().toStdString());
    Engine->SetTimeConstant(tau);
}

void TForm1::Edit2Change(QObject *)
{
    Engine->MarkStatsStale();
    const long double tenfold = std::trunc(NoiseLevel(*Edit2) * 10.0L);
    // A typed level beyond the spinner's range holds it at the nearer limit.
    const int position = tenfold < UpDown2->Min() ? UpDown2->Min()
                         : tenfold > UpDown2->Max() ? UpDown2->Max()
                                                    : static_cast<int>(tenfold);
    UpDown2->SetPosition(position);
}

void TForm1::UpDown2Click(QObject *, TUDBtnType)
{
    const long double level = UpDown2->Position() / 10.0L;
    Edit2->SetText(Text(NoiseLevelText(level)));
    Engine->MarkStatsStale();
}

void TForm1::RadioGroup1Click(QObject *)
{
    Engine->MarkStatsStale();
    RadioGroup3->SetItemIndex(ckNone);
}

void TForm1::RadioGroup2Click(QObject *)
{
    Engine->MarkStatsStale();
}

void TForm1::RadioGroup3Click(QObject *)
{
    Engine->MarkStatsStale();
    RadioGroup1->SetItemIndex(skNone);
}

void TForm1::closeEvent(QCloseEvent *Event)
{
    // Closing the window ends a run and with it the program.
    if (Running)
        Button2Click(Button2);
    Event->accept();
}

void TForm1::showEvent(QShowEvent *Event)
{
    QWidget::showEvent(Event);
    if (!FSizeFitted)
        QTimer::singleShot(0, this, &TForm1::FitOuterSize);
}

void TForm1::moveEvent(QMoveEvent *Event)
{
    QWidget::moveEvent(Event);
    // Decorating the window moves its client area: the frame is known from then on.
    if (!FSizeFitted && isVisible())
        FitOuterSize();
}

void TForm1::resizeEvent(QResizeEvent *Event)
{
    QWidget::resizeEvent(Event);
    FitContent();
}

void TForm1::FitOuterSize()
{
    // The stored size is the outer one, frame included; the frame is known once the window
    // system has decorated the window.
    const QSize frame = frameGeometry().size() - geometry().size();
    if (frame.width() <= 0 && frame.height() <= 0)
        return;
    FSizeFitted = true;
    const QMargins edges = windowHandle()->frameMargins();
    const qreal ratio = devicePixelRatioF();
    FitToScreen(frame,
                QSize(FrameAtMost(edges.left(), edges.right(), ratio), FrameAtMost(edges.top(), edges.bottom(), ratio)));
}

void TForm1::FitToScreen(const QSize &Frame, const QSize &LargestFrame)
{
    // Before it is shown the window belongs to the screen under its stored place.
    QScreen *screen = isVisible() ? this->screen() : QGuiApplication::screenAt(QPoint(StoredLeft, StoredTop));
    if (!screen)
        screen = this->screen();
    if (!screen)
        return;
    QRect available = screen->availableGeometry();
    if (FreeAreaUnknown(*screen))
        available.setSize(available.size() - QSize(PanelRoom, PanelRoom));
    const auto fitWith = [&](const QSize &Decoration) {
        return FitWindow({available.x(), available.y(), available.width(), available.height()}, StoredLeft, StoredTop,
                         StoredWidth, StoredHeight, Decoration.width(), Decoration.height());
    };
    QSize frame = Frame;
    TWindowFit fit = fitWith(frame);
    // A window that shrinks is pressed against the area's edge: there the frame counts at the
    // largest size it may have, lest it overhang by the fraction of a pixel that was rounded away.
    if (fit.Scale < 1.0 && LargestFrame != Frame) {
        frame = LargestFrame;
        fit = fitWith(frame);
    }
    FMadeInside = QSize(StoredWidth, StoredHeight) - frame;
    setMinimumSize(ShrunkSize(FMadeInside.width(), MinWindowScale), ShrunkSize(FMadeInside.height(), MinWindowScale));
    // A maximised window has the size its window system gave it.
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        resize(fit.Width - frame.width(), fit.Height - frame.height());
        if (pos() != QPoint(fit.Left, fit.Top))
            move(fit.Left, fit.Top);
    }
    // Hidden, the window is told of its new size only once it is shown.
    FitContent();
}

void TForm1::FitContent()
{
    const double factor = InsideScale(width(), height(), FMadeInside.width(), FMadeInside.height());
    if (factor != FScale.Factor())
        FScale.Apply(factor);
}

void TForm1::StartMaximisedWhereItMayNotFit()
{
    // Where the window might not fit beside a panel it starts maximised: the compositor makes it
    // as large as its free area, and the content scales to that.
    const QScreen *screen = this->screen();
    if (!screen || !FreeAreaUnknown(*screen))
        return;
    const QSize room = screen->availableGeometry().size() - QSize(PanelRoom, PanelRoom);
    if (StoredWidth > room.width() || StoredHeight > room.height())
        setWindowState(windowState() | Qt::WindowMaximized);
}
