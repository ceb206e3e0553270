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
#include <tuple>

#include "ChartMenu.h"
#include "ChartSeries.h"
#include "ErrorBox.h"
#include "FiguresMenu.h"
#include "FormAccessibility.h"
#include "RegionalSettings.h"
#include "TButton.h"
#include "TCaptionLabel.h"
#include "TChart.h"
#include "TEdit.h"
#include "TFigureBox.h"
#include "TFigureGroup.h"
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
                  int Index)
{
    auto *chart = Named(new TChart(Parent), Name);
    chart->setGeometry(304, Top, 401, Height);
    // Tab and a click give it the focus for the menu key and Shift+F10.
    chart->setFocusPolicy(Qt::StrongFocus);
    new TChartMenu(chart);
    chart->SetTitle(Title);
    chart->setAccessibleName(Title);
    chart->setAccessibleDescription(Shows);
    HandNumberSeparators(*chart);
    ShapeChart(chart->Panel(), Index);
    return chart;
}

TEdit *MakeEdit(QWidget *Parent, const char *Name, TEditModel &Model, const TForwarder &Forward, int Left, int Top)
{
    auto *edit = Named(new TEdit(Parent, Model, Forward), Name);
    edit->setGeometry(Left, Top, 73, 32);
    return edit;
}

TUpDown *MakeUpDown(QWidget *Parent, const char *Name, TUpDownModel &Model, const TForwarder &Forward, int Left, int Top,
                    TEdit *Associate)
{
    auto *upDown = Named(new TUpDown(Parent, Model, Forward), Name);
    upDown->setGeometry(Left, Top, 16, 32);
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

void FillSeries(TLineSeries *Series, const auto &Points)
{
    Series->RemoveAllPoints();
    for (double v : Points)
        Series->AppendValue(v);
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

    FRunLoop = new TRunLoop(this);
    FLab = std::make_unique<TLab>(*FRunLoop);
    CreateControls();
    FRunLoop->Attach(*FLab);
    Button1->OnClick = [this] { Forward([this] { FLab->Button1Click(); }); };
    Button2->OnClick = [this] { Forward([this] { FLab->Button2Click(); }); };
    Timer1->OnTimer = [this] { Forward([this] { FLab->Timer1Timer(); }); };
    FScale.Record(this, {GroupBox1, GroupBox2});
    FitToScreen(QSize(0, 0), QSize(0, 0));
    StartMaximisedWhereItMayNotFit();
}

TForm1::~TForm1()
{
    // The controls draw and read the lab's state until they go, so they go before it.
    const QObjectList parts = children();
    qDeleteAll(parts);
}

void TForm1::CreateControls()
{
    const TForwarder forward = [this](const std::function<void()> &Action) { Forward(Action); };
    Label7 = MakeCaption(this, "Label7", QStringLiteral("Постоянная времени RC-цепочки (мкс):"), 0, 506, 196, 48, true);
    Label15 = MakeCaption(this, "Label15", QStringLiteral("СКО шума (В):"), 63, 368, 125, 24);
    Label16 = MakeCaption(this, "Label16", QStringLiteral("Временной сдвиг копии сигнала (мкс):"), 8, 280, 183, 48, true);

    RadioGroup1 = Named(new TRadioGroup(this, QStringLiteral("Простые сигналы"),
                                        {QStringLiteral("Прямоугольные импульсы"), QStringLiteral("Треугольные импульсы 1"),
                                         QStringLiteral("Треугольные импульсы 2"), QStringLiteral("Треугольные импульсы 3")},
                                        FLab->RadioGroup1, forward),
                        "RadioGroup1");
    RadioGroup1->setGeometry(7, 4, 290, 133);

    Chart1 = MakeChart(this, "Chart1", QStringLiteral("Полезный сигнал"),
                       QStringLiteral("График последних 256 отсчётов полезного сигнала без шума, от -2,5 до 2,5"), 8, 240, 0);
    Series1 = Chart1->AddLineSeries();
    Chart2 = MakeChart(this, "Chart2", QStringLiteral("Сигнал + Шум на входе фильтра"),
                       QStringLiteral("График последних 256 отсчётов суммы сигнала и шума на входе фильтра, от -2,5 до 2,5"),
                       248, 241, 1);
    Series2 = Chart2->AddLineSeries();

    Button1 = Named(new TButton(this, QStringLiteral("Старт")), "Button1");
    Button1->setGeometry(16, 680, 121, 33);
    Button2 = Named(new TButton(this, QStringLiteral("Стоп")), "Button2");
    Button2->setGeometry(152, 680, 121, 33);

    Edit1 = MakeEdit(this, "Edit1", FLab->Edit1, forward, 200, 527);

    Chart3 = MakeChart(this, "Chart3", QStringLiteral("Сигнал + Шум на выходе фильтра"),
                       QStringLiteral("График 256 отсчётов суммы сигнала и шума на выходе фильтра, шкала по значениям"),
                       488, 241, 2);
    Series3 = Chart3->AddLineSeries();

    UpDown1 = MakeUpDown(this, "UpDown1", FLab->UpDown1, forward, 273, 527, Edit1);

    RadioGroup2 = Named(new TRadioGroup(this, QStringLiteral("Тип фильтрации"),
                                        {QStringLiteral("RC-цепочка"), QStringLiteral("Согласованный фильтр")},
                                        FLab->RadioGroup2, forward),
                        "RadioGroup2");
    RadioGroup2->setGeometry(7, 407, 290, 82);

    RadioGroup3 = Named(new TRadioGroup(this, QStringLiteral("Сложные сигналы"),
                                        {QStringLiteral("ЛЧМ-импульсы"), QStringLiteral("13-элементный код Баркера")},
                                        FLab->RadioGroup3, forward),
                        "RadioGroup3");
    RadioGroup3->setGeometry(7, 140, 290, 93);

    Edit2 = MakeEdit(this, "Edit2", FLab->Edit2, forward, 200, 368);
    UpDown2 = MakeUpDown(this, "UpDown2", FLab->UpDown2, forward, 272, 368, nullptr);
    Edit3 = MakeEdit(this, "Edit3", FLab->Edit3, forward, 200, 304);
    UpDown3 = MakeUpDown(this, "UpDown3", FLab->UpDown3, forward, 273, 304, Edit3);

    CheckBox1 = Named(new QCheckBox(QStringLiteral("Копия сигнала (для сложных сигналов)"), this), "CheckBox1");
    CheckBox1->setGeometry(15, 245, 370, 20);
    // It reaches over the edge of the charts and, made later, lies on top of them: its own
    // background, the window's colour rather than the button face a button fills with, keeps
    // its text clear of the chart's frame.
    CheckBox1->setAutoFillBackground(true);
    CheckBox1->setBackgroundRole(QPalette::Window);
    CheckBox1->setChecked(FLab->CheckBox1);
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool Checked) { Forward([=, this] { FLab->CheckBox1 = Checked; }); });

    GroupBox1 = Named(new TFigureGroup(QStringLiteral("Вход"), this), "GroupBox1");
    GroupBox1->setGeometry(712, 248, 297, 233);
    std::tie(Label10, Label9, Label11, Label12, Label13, Label14) =
        MakeFigureRows(GroupBox1, {"Label10", "Label9", "Label11", "Label12", "Label13", "Label14"}, 8, 8);
    ProgressBar1 = MakeBar(GroupBox1, "ProgressBar1", 200, 176, 66, 14, TDisplay::BarMax[0]);

    GroupBox2 = Named(new TFigureGroup(QStringLiteral("Выход"), this), "GroupBox2");
    GroupBox2->setGeometry(712, 488, 297, 241);
    std::tie(Label2, Label1, Label3, Label4, Label5, Label6) =
        MakeFigureRows(GroupBox2, {"Label2", "Label1", "Label3", "Label4", "Label5", "Label6"}, 0, 0);
    Label20 = MakeCaption(GroupBox2, "Label20", QStringLiteral("Выигрыш в С/Ш:"), 36, 177, 141, 24);
    Label21 = MakeFigure(GroupBox2, "Label21", 192, 176, 66, 25);
    ProgressBar2 = MakeBar(GroupBox2, "ProgressBar2", 192, 152, 66, 13, TDisplay::BarMax[1]);
    ProgressBar3 = MakeBar(GroupBox2, "ProgressBar3", 192, 200, 66, 13, TDisplay::BarMax[2]);

    Timer1 = Named(new TTimer(this, 500, FLab->Timer1Enabled()), "Timer1");

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

    // The controls keep the order of their making; the charts and the figure groups, which
    // Tab reaches only for their menus, come after them.
    setTabOrder(CheckBox1, Chart1);
    setTabOrder(Chart1, Chart2);
    setTabOrder(Chart2, Chart3);
    setTabOrder(Chart3, GroupBox1);
    setTabOrder(GroupBox1, GroupBox2);
}

void TForm1::Forward(const std::function<void()> &Action)
{
    CallGuarded(Action, [this] { DrawState(); });
    DrawState();
}

void TForm1::DrawState()
{
    for (TEdit *edit : {Edit1, Edit2, Edit3})
        edit->Draw();
    for (TRadioGroup *group : {RadioGroup1, RadioGroup2, RadioGroup3})
        group->Draw();
    CheckBox1->setChecked(FLab->CheckBox1);
    Timer1->SetEnabled(FLab->Timer1Enabled());
    FRunLoop->Reschedule();
    if (FLab->Display().Refreshes != FDrawnRefreshes)
        DrawDisplay();
}

void TForm1::DrawDisplay()
{
    const TDisplay &d = FLab->Display();
    FDrawnRefreshes = d.Refreshes;
    FillSeries(Series1, d.Series[0]);
    FillSeries(Series2, d.Series[1]);
    FillSeries(Series3, d.Series[2]);
    const std::array<TFigureBox *, 7> boxes = {Label9, Label11, Label13, Label1, Label3, Label5, Label21};
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setText(QString::fromStdString(d.Figures[i]));
    ProgressBar1->SetPosition(d.Bars[0]);
    ProgressBar2->SetPosition(d.Bars[1]);
    ProgressBar3->SetPosition(d.Bars[2]);
}

void TForm1::closeEvent(QCloseEvent *Event)
{
    Forward([this] { FLab->FormClose(); });
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
