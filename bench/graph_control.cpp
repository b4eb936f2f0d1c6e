// The graph control under the largest record: 65,535 x-y pairs (one level a second, as the
// time-history graph shows them) repainted into a 1200 x 600 image, beside one drawPolyline of the
// same points with the same pen and antialiasing in the same run; then 100 repaints while the
// mouse pans the x axis. Reported: mean and slowest paint of each, and the graph's share of the
// baseline.
#include "platform/ui/graph_control.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "bench_support.h"

namespace {

using sq::bench::Timing;

constexpr int kPairs = 65535;
constexpr int kWidth = 1200;
constexpr int kHeight = 600;

struct Plot {
    std::vector<double> xs, ys;
};

// A day fraction a second apart from 08:00, and a noisy level between 40 and 120 dB.
const Plot& record() {
    static Plot plot = [] {
        Plot p;
        uint32_t seed = 2024;
        double level = 75;
        for (int i = 0; i < kPairs; ++i) {
            seed = seed * 1664525u + 1013904223u;
            level = std::clamp(level + (static_cast<int>(seed >> 24) - 128) / 32.0, 40.0, 120.0);
            p.xs.push_back(8.0 / 24 + i / 86400.0);
            p.ys.push_back(level);
        }
        return p;
    }();
    return plot;
}

// The graph as the time-history window sets it up.
struct GraphFixture {
    GraphFixture() {
        surface.resize(kWidth, kHeight);
        graph.widget()->setGeometry(0, 0, kWidth, kHeight);
        graph.Axes(1).setLabelFormat("hh:nn:ss");
        graph.Axes(1).setCaption("Time");
        graph.Axes(2).setCaption("Lavg (dB)");
        graph.PlotPairs(record().xs, record().ys);
        graph.Axes(2).SetMinMax(25, 150);
        graph.Axes(1).SetMinMax(record().xs.front(), record().xs.back());
        image.fill(Qt::white);
    }
    void paint() { graph.widget()->render(&image); }

    QWidget surface;
    sq::GraphControl graph{&surface};
    QImage image{kWidth, kHeight, QImage::Format_ARGB32_Premultiplied};
};

void GraphRepaintVsPolyline(benchmark::State& state) {
    GraphFixture f;
    // The baseline draws every point, mapped to the same plot area, with the trace's pen.
    QRect area = f.graph.plotArea();
    sq::PixelMap map;
    map.x = {f.graph.Axes(1).AxisMinimum(), f.graph.Axes(1).AxisMaximum()};
    map.y = {f.graph.Axes(2).AxisMinimum(), f.graph.Axes(2).AxisMaximum()};
    map.left = area.left();
    map.top = area.top();
    map.width = area.width();
    map.height = area.height();
    std::vector<QPointF> points;
    for (int i = 0; i < kPairs; ++i)
        points.emplace_back(map.toPixelX(record().xs[i]), map.toPixelY(record().ys[i]));
    QImage baselineImage(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    baselineImage.fill(Qt::white);

    Timing graph, baseline;
    for (auto _ : state) {
        for (int i = 0; i < 20; ++i) {
            graph.time([&] { f.paint(); });
            baseline.time([&] {
                QPainter p(&baselineImage);
                p.setClipRect(area);
                p.setRenderHint(QPainter::Antialiasing, true);
                p.setPen(QPen(QColor(0, 0, 160), 1));
                p.drawPolyline(points.data(), static_cast<int>(points.size()));
            });
        }
    }
    state.counters["graph_mean_ms"] = graph.mean();
    state.counters["graph_max_ms"] = graph.slowest;
    state.counters["polyline_mean_ms"] = baseline.mean();
    state.counters["polyline_max_ms"] = baseline.slowest;
    state.counters["graph_share_of_baseline"] = graph.mean() / baseline.mean();
}

// Mode 4: the mouse drags the x axis across the plot, one repaint after every move.
void GraphPanRepaints(benchmark::State& state) {
    GraphFixture f;
    f.graph.setTrackMode(sq::GraphControl::kTrackPanX);
    QWidget* w = f.graph.widget();
    QRect area = f.graph.plotArea();
    QPointF start(area.center());
    double before = f.graph.Axes(1).AxisMinimum();
    Timing pan;
    for (auto _ : state) {
        QMouseEvent press(QEvent::MouseButtonPress, start, w->mapToGlobal(start), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &press);
        for (int i = 1; i <= 100; ++i) {
            QPointF at = start + QPointF((i % 50 - 25) * area.width() / 100.0, 0);
            pan.time([&] {
                QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                                 Qt::NoModifier);
                QCoreApplication::sendEvent(w, &move);
                f.paint();
            });
        }
        QMouseEvent release(QEvent::MouseButtonRelease, start, w->mapToGlobal(start), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &release);
    }
    state.counters["repaints"] = pan.count;
    // The last move drags a quarter of the width to the left: the axis moves a quarter span up.
    state.counters["x_shift_share"] =
        (before - f.graph.Axes(1).AxisMinimum()) / f.graph.Axes(1).range().span();
    state.counters["pan_mean_ms"] = pan.mean();
    state.counters["pan_max_ms"] = pan.slowest;
}

}  // namespace

BENCHMARK(GraphRepaintVsPolyline)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(GraphPanRepaints)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    return sq::bench::runBenchmarks(argc, argv);
}
