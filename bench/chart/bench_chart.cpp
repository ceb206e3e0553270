// Painting one chart panel as the window shows it: 401 x 241 pixels, 256 noisy points.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <memory>
#include <random>

#include "ChartPanel.h"
#include "TChart.h"

namespace {
QApplication &App()
{
    static int argc = 1;
    static char name[] = "bench_chart";
    static char *argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

void Fill(TChartSeries &series, double sigma)
{
    std::mt19937 engine(7);
    std::normal_distribution<double> noise(0.0, sigma);
    series.RemoveAllPoints();
    for (int i = 0; i < 256; ++i)
        series.AppendValue(((i % 200) < 100 ? 1.0 : 0.0) + noise(engine));
}

void PaintPanel(benchmark::State &state, bool fixedAxis, double sigma = 0.5)
{
    App();
    TChart chart;
    chart.resize(401, 241);
    chart.SetTitle(QStringLiteral("Сигнал + Шум на входе фильтра"));
    if (fixedAxis)
        chart.LeftAxis().SetMinMax(-2.5, 2.5);
    TLineSeries *series = chart.AddLineSeries();
    Fill(*series, sigma);
    QImage image(chart.size(), QImage::Format_RGB32);
    {
        QPainter warm(&image);
        chart.DrawTo(warm);
    }
    for (auto _ : state) {
        QPainter painter(&image);
        chart.DrawTo(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_PaintFixedPanel(benchmark::State &state) { PaintPanel(state, true); }
void BM_PaintAutomaticPanel(benchmark::State &state) { PaintPanel(state, false); }
// Noise far beyond the fixed axis: every segment is cut to the plot in floating point.
void BM_PaintFixedPanelFarOut(benchmark::State &state) { PaintPanel(state, true, 1e10); }

// The refresh's share: empty a series and append 256 values (repaint requests included).
void BM_RefillSeries(benchmark::State &state)
{
    App();
    TChart chart;
    TLineSeries *series = chart.AddLineSeries();
    for (auto _ : state) {
        series->RemoveAllPoints();
        for (int i = 0; i < 256; ++i)
            series->AppendValue(i * 0.001);
        benchmark::DoNotOptimize(series->Count());
    }
}
} // namespace

BENCHMARK(BM_PaintFixedPanel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintAutomaticPanel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintFixedPanelFarOut)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RefillSeries)->Unit(benchmark::kMicrosecond);
