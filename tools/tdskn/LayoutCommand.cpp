#include "LayoutCommand.h"

#include <iostream>

#include "BuiltInPictures.h"
#include "InputSkin.h"
#include "Report.h"
#include "Scenarios.h"
#include "SkinParser.h"
#include "SkinSource.h"

namespace tandel::tdskn {
namespace {

struct NamedScenario {
    const char* name;
    CannedScenario& (*get)();
};
constexpr NamedScenario kScenarios[] = {{"INPUT_INFO", &INPUT_INFO},
                                        {"INPUT_INFO0", &INPUT_INFO0},
                                        {"INPUT_INFO3", &INPUT_INFO3},
                                        {"INPUT_INFO9", &INPUT_INFO9},
                                        {"INPUT_INFO_LONG", &INPUT_INFO_LONG}};

Report rectReport(const Rect& r) {
    Report out;
    out.add("left", r.left);
    out.add("top", r.top);
    out.add("right", r.right);
    out.add("bottom", r.bottom);
    return out;
}

template <typename Number>
Report listReport(const Number* values, std::size_t count) {
    Report out = Report::list();
    for (std::size_t i = 0; i < count; ++i) {
        out.push(int(values[i]));
    }
    return out;
}

void addHead(Report& out, const ContextHead& head) {
    out.add("width", head.width);
    out.add("height", head.height);
    out.add("overflowLeft", head.overflowLeft);
    out.add("overflowTop", head.overflowTop);
    out.add("overflowRight", head.overflowRight);
    out.add("overflowBottom", head.overflowBottom);
}

Report windowContextReport(const LayoutContext& c, const char* scenario) {
    Report out;
    addHead(out, c);
    out.add("options", listReport(c.options, std::size(c.options)));
    out.add("caretOffsetX", c.caretOffsetX);
    out.add("caretOffsetY", c.caretOffsetY);
    out.add("prevPageLeft", c.prevPageLeft);
    out.add("prevPageTop", c.prevPageTop);
    out.add("nextPageLeft", c.nextPageLeft);
    out.add("nextPageTop", c.nextPageTop);
    out.add("tipCells", listReport(c.tipCells, std::size(c.tipCells)));
    out.add("compTextRect", rectReport(c.compTextRect));
    out.add("convertedEndX", c.convertedEndX);
    out.add("candListRect", rectReport(c.candListRect));
    out.add("candTextX", c.candTextX);
    out.add("scheme", scenario);
    return out;
}

Report controlReport(const IControl& control) {
    Report out;
    if (const auto* base = dynamic_cast<const ZODBaseControl*>(&control)) {
        out.add("id", base->id());
        out.add("type", base->type());
    }
    out.add("rect", rectReport(control.GetRect(0)));
    out.add("state", control.GetState());
    Report children = Report::list();
    if (const auto* base = dynamic_cast<const ZODBaseControl*>(&control)) {
        base->forEachChild([&](const IControl& child) { children.push(controlReport(child)); });
    }
    out.add("children", std::move(children));
    return out;
}

}  // namespace

int runLayout(const std::vector<std::string>& args) {
    Arguments a =
        parseArguments(args, {"--kind", "--scenario", "--dpi"}, {"--new", "--status", "--json"});
    if (!a.error.empty()) {
        return usageError("layout", a.error);
    }
    const bool fromNew = a.options.contains("--new");
    if (int(a.positional.size()) + int(fromNew) != 1) {
        return usageError("layout", "give one skin: a file or --new");
    }
    const bool status = a.options.contains("--status");
    const auto kindOption = a.options.find("--kind");
    if (status == (kindOption != a.options.end())) {
        return usageError("layout", "give --kind 0..3 or --status");
    }
    int kind = 0;
    if (!status) {
        const std::string& k = kindOption->second;
        if (k.size() != 1 || k[0] < '0' || k[0] > '3') {
            return usageError("layout", "--kind takes 0 to 3");
        }
        kind = k[0] - '0';
    }
    const NamedScenario* scenario = &kScenarios[0];
    if (auto named = a.options.find("--scenario"); named != a.options.end()) {
        scenario = nullptr;
        for (const NamedScenario& s : kScenarios) {
            if (named->second == s.name) {
                scenario = &s;
            }
        }
        if (scenario == nullptr) {
            return usageError("layout",
                              "--scenario takes INPUT_INFO, INPUT_INFO0, INPUT_INFO3, "
                              "INPUT_INFO9 or INPUT_INFO_LONG");
        }
    }
    if (std::string problem = applyDpiOption(a); !problem.empty()) {
        return usageError("layout", problem);
    }
    SkinDocument document;
    if (std::string problem = loadSkinSource(a, document); !problem.empty()) {
        return fail(problem);
    }
    document.layOut();

    ResourceCache::Instance().module = &builtInPicture;
    CInputSkinImpl skin;
    if (!skin.LoadSkin(kind, document.payload(), document.header.entryCount, 1)) {
        return fail("the engine could not load the skin");
    }
    std::optional<Canvas> canvas = Canvas::create(1, 1, Canvas::Kind::Alpha);
    Report out;
    if (status) {
        StatusContext context;
        context.canvas = canvas ? &*canvas : nullptr;
        skin.Layout(kRootStatus, &context);
        Report head;
        addHead(head, context);
        head.add("options", listReport(context.options, std::size(context.options)));
        out.add("context", std::move(head));
        Rect rect;
        skin.GetRect(kRootStatus, &rect);
        out.add("rect", rectReport(rect));
        Rect margins;
        skin.GetOuterMargins(kRootStatus, &margins);
        out.add("outerMargins", rectReport(margins));
    } else {
        LayoutContext context;
        context.canvas = canvas ? &*canvas : nullptr;
        context.scheme = &scenario->get();
        skin.Layout(kRootWindow, &context);
        out.add("kind", kind);
        out.add("context", windowContextReport(context, scenario->name));
        Rect part1;
        Rect part2;
        skin.GetRect(kRootWindow, &part1);
        skin.GetRect(kRootInnerPart, &part2);
        out.add("rectPart1", rectReport(part1));
        out.add("rectPart2", rectReport(part2));
        Point caret;
        skin.GetCaretOffset(&caret);
        Report caretReport;
        caretReport.add("x", caret.x);
        caretReport.add("y", caret.y);
        out.add("caretOffset", std::move(caretReport));
        Rect margins;
        skin.GetOuterMargins(kRootWindow, &margins);
        out.add("outerMargins", rectReport(margins));
    }
    if (const IControl* root = skin.root(status ? kRootStatus : kRootWindow)) {
        out.add("controls", controlReport(*root));
    }
    if (a.options.contains("--json")) {
        out.printJson(std::cout);
        std::cout << '\n';
    } else {
        out.printText(std::cout);
    }
    ResourceCache::Instance().releaseCache();
    return 0;
}

}  // namespace tandel::tdskn
