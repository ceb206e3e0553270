// Saves PNG pictures of chart panels as the laboratory window shows them, for looking at:
//   chart_snapshot [output-directory [zoom]]
// writes chart_clean.png, chart_noisy.png, chart_auto.png and chart_zeros.png (an automatic
// panel before the first run: 256 zeros) of 401 x 241, and with a
// zoom factor above 1 also enlarged copies (chart_*_zoom.png) with every pixel a square.

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <random>
#include <string>

#include "TChart.h"

namespace {
double Pulse(int i)
{
    return (i % 200) < 100 ? 1.0 : 0.0;
}

int GZoom = 1;

bool Save(TChart &chart, const std::string &path)
{
    QImage image(chart.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    chart.DrawTo(painter);
    painter.end();
    bool ok = image.save(QString::fromStdString(path));
    if (GZoom > 1) {
        const QImage big = image.scaled(image.size() * GZoom); // nearest pixel: every pixel a square
        ok = big.save(QString::fromStdString(path.substr(0, path.size() - 4) + "_zoom.png")) && ok;
    }
    std::printf("%s %s\n", ok ? "saved" : "could not save", path.c_str());
    return ok;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const std::string dir = argc > 1 ? argv[1] : ".";
    GZoom = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    std::mt19937 engine(12345);
    std::normal_distribution<double> noise(0.0, 0.5);

    TChart clean, noisy, automatic, zeros;
    zeros.resize(401, 241);
    zeros.SetTitle(QStringLiteral("Сигнал + Шум на выходе фильтра"));
    TLineSeries *s4 = zeros.AddLineSeries();
    clean.resize(401, 240);
    noisy.resize(401, 241);
    automatic.resize(401, 241);
    clean.SetTitle(QStringLiteral("Полезный сигнал"));
    noisy.SetTitle(QStringLiteral("Сигнал + Шум на входе фильтра"));
    automatic.SetTitle(QStringLiteral("Сигнал + Шум на выходе фильтра"));
    clean.LeftAxis().SetMinMax(-2.5, 2.5);
    noisy.LeftAxis().SetMinMax(-2.5, 2.5);
    TLineSeries *s1 = clean.AddLineSeries();
    TLineSeries *s2 = noisy.AddLineSeries();
    TLineSeries *s3 = automatic.AddLineSeries();
    double smooth = 0;
    for (int i = 0; i < 256; ++i) {
        const double n = noise(engine);
        s1->AppendValue(Pulse(i));
        s2->AppendValue(Pulse(i) + n);
        smooth += (Pulse(i) + n - smooth) * (1 - std::exp(-1 / 5.0));
        s3->AppendValue(smooth);
        s4->AppendValue(0);
    }
    // A first paint settles the left labels' width, as on screen.
    bool ok = true;
    for (int pass = 0; pass < 2; ++pass) {
        ok = Save(clean, dir + "/chart_clean.png") && ok;
        ok = Save(noisy, dir + "/chart_noisy.png") && ok;
        ok = Save(automatic, dir + "/chart_auto.png") && ok;
        ok = Save(zeros, dir + "/chart_zeros.png") && ok;
    }
    return ok ? 0 : 1;
}
