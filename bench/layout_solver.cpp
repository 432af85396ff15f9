// The layout solver on a form: a container with R rows of label + field boxes, built from scratch
// and resized through common screen sizes.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

#include "platform/uikit/layout/Solver.h"

using namespace platform::layout;

namespace {

struct Box {
    explicit Box(const std::string& name)
        : x(name + ".x"), y(name + ".y"), width(name + ".w"), height(name + ".h") {}
    Variable x, y, width, height;
};

struct Form {
    explicit Form(int rows) : container("container") {
        for (int row = 0; row < rows; ++row) {
            labels.emplace_back("label" + std::to_string(row));
            fields.emplace_back("field" + std::to_string(row));
        }
        build();
    }

    void add(const Constraint& constraint) {
        complete &= solver.addConstraint(constraint) == AddResult::Added;
    }

    void build() {
        add(container.x == 0);
        add(container.y == 0);
        for (std::size_t row = 0; row < labels.size(); ++row) {
            const Box& label = labels[row];
            const Box& field = fields[row];
            add(label.x == container.x + 20);
            add(field.x == label.x + label.width + 8);
            add(field.x + field.width == container.x + container.width - 20);
            add(label.width >= 60);
            add(field.width >= 40);
            if (row == 0)
                add(label.y == container.y + 20);
            else
                add(label.y == labels[row - 1].y + labels[row - 1].height + 8);
            add(field.y == label.y);
            add(field.height == label.height);
            add((label.height == 30) | Strength::strong());
            add((label.width == 100) | Strength::weak());
        }
        const Box& last = labels.back();
        add((last.y + last.height <= container.y + container.height - 20) | Strength::medium());
        complete &= solver.addEditVariable(container.width, Strength::strong()) == EditResult::Done;
        complete &= solver.addEditVariable(container.height, Strength::strong()) == EditResult::Done;
    }

    Box container;
    std::vector<Box> labels;
    std::vector<Box> fields;
    Solver solver;
    bool complete = true;
};

constexpr std::array<std::array<double, 2>, 6> kScreens{
    {{320, 480}, {375, 667}, {390, 844}, {768, 1024}, {1024, 768}, {428, 926}}};

void BM_LayoutBuild(benchmark::State& state) {
    for (auto _ : state) {
        Form form(static_cast<int>(state.range(0)));
        if (!form.complete)
            state.SkipWithError("the form did not build");
        benchmark::DoNotOptimize(form.solver.constraintCount());
    }
}

void BM_LayoutResize(benchmark::State& state) {
    Form form(static_cast<int>(state.range(0)));
    if (!form.complete)
        state.SkipWithError("the form did not build");
    std::size_t screen = 0;
    for (auto _ : state) {
        const auto& [width, height] = kScreens[screen];
        screen = (screen + 1) % kScreens.size();
        form.solver.suggestValue(form.container.width, width);
        form.solver.suggestValue(form.container.height, height);
        form.solver.updateVariables();
        benchmark::DoNotOptimize(form.fields.back().width.value());
    }
}

} // namespace

BENCHMARK(BM_LayoutBuild)->Arg(12)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutResize)->Arg(12)->Arg(500)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
