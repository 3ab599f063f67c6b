// The signal timeline as SVG, written as text: one row per signal group coloured by its light,
// the detectors' occupations below, a time axis with a tick every round number of seconds.
#include <algorithm>
#include <cstdio>
#include <string>

#include "timeline.h"

namespace tavir::cli {

namespace {

constexpr double kPlotWidth = 900;
constexpr double kRowHeight = 16;
constexpr double kRowPitch = 20;
constexpr double kTop = 56;
constexpr double kCharWidth = 7.5;  // of the 12 px monospace text

const char* colourOf(Light light) {
    switch (light) {
        case Light::kRed:
            return "#d62728";
        case Light::kGreen:
            return "#2ca02c";
        case Light::kAmber:
            return "#ffb000";
        case Light::kUnknown:
            break;
    }
    return "#bbbbbb";
}
constexpr char kOccupiedColour[] = "#1f77b4";

// Names come from the application's files, in the Windows code page: markup characters are
// escaped and bytes above 127 become the Latin-1 characters they are for the letters used.
std::string escaped(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else if (c >= 0xA0)
            out += "&#" + std::to_string(c) + ";";
        else if (c < 0x20 || c >= 0x7F)
            out += '?';
        else
            out += static_cast<char>(c);
    }
    return out;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string tickText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

// A tick every 1, 2, 5, 10, 15, 30 ... seconds: the first that gives at most twelve ticks.
double tickStep(double duration) {
    static const double kSteps[] = {1,   2,   5,    10,   15,   30,    60,    120,  300,
                                    600, 900, 1800, 3600, 7200, 14400, 43200, 86400};
    for (double step : kSteps) {
        if (duration / step <= 12) return step;
    }
    return duration / 12;
}

}  // namespace

void writeTimelineSvg(const Timeline& timeline, std::ostream& out) {
    size_t longest = 9;  // "detectors"
    for (const auto* names : {&timeline.groupNames, &timeline.detectorNames}) {
        for (const std::string& name : *names) longest = std::max(longest, name.size());
    }
    const double left = 12 + kCharWidth * static_cast<double>(longest);
    const double duration = std::max(timeline.endSeconds, 1.0);
    const double scale = kPlotWidth / duration;
    const size_t groups = timeline.groupNames.size();
    const size_t detectors = timeline.detectorNames.size();
    const double detectorTop =
        kTop + kRowPitch * static_cast<double>(groups) + (detectors > 0 ? kRowPitch : 0);
    const double axis = detectorTop + kRowPitch * static_cast<double>(detectors) + 6;
    const double width = left + kPlotWidth + 20;
    const double height = axis + 44;

    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << number(width) << "\" height=\""
        << number(height) << "\" font-family=\"monospace\" font-size=\"12\">\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
        << "<text x=\"8\" y=\"18\" font-size=\"14\" font-weight=\"bold\">Signal timeline, "
        << number(timeline.endSeconds) << " s</text>\n";
    // The legend.
    struct Key {
        const char* colour;
        const char* text;
    };
    const Key keys[] = {{colourOf(Light::kRed), "red"},
                        {colourOf(Light::kGreen), "green"},
                        {colourOf(Light::kAmber), "amber"},
                        {kOccupiedColour, "detector occupied"},
                        {colourOf(Light::kUnknown), "unknown state"}};
    double x = 8;
    for (const Key& key : keys) {
        out << "<rect x=\"" << number(x) << "\" y=\"28\" width=\"14\" height=\"12\" fill=\"" << key.colour
            << "\"/>"
            << "<text x=\"" << number(x + 18) << "\" y=\"38\">" << key.text << "</text>\n";
        x += 18 + kCharWidth * static_cast<double>(std::char_traits<char>::length(key.text)) + 16;
    }

    // Grid lines and the axis, so a period can be read off against the seconds.
    const double step = tickStep(duration);
    for (double t = 0; t <= duration + 1e-9; t += step) {
        double tx = left + t * scale;
        out << "<line x1=\"" << number(tx) << "\" y1=\"" << number(kTop - 4) << "\" x2=\"" << number(tx)
            << "\" y2=\"" << number(axis + 4) << "\" stroke=\"#e0e0e0\"/>"
            << "<text x=\"" << number(tx) << "\" y=\"" << number(axis + 18) << "\" text-anchor=\"middle\">"
            << tickText(t) << "</text>\n";
    }
    out << "<line x1=\"" << number(left) << "\" y1=\"" << number(axis) << "\" x2=\""
        << number(left + kPlotWidth) << "\" y2=\"" << number(axis) << "\" stroke=\"black\"/>\n"
        << "<text x=\"" << number(left + kPlotWidth / 2) << "\" y=\"" << number(axis + 36)
        << "\" text-anchor=\"middle\">time (s)</text>\n";

    auto label = [&](double y, const std::string& text, const char* weight) {
        out << "<text x=\"" << number(left - 6) << "\" y=\"" << number(y + 12) << "\" text-anchor=\"end\""
            << " font-weight=\"" << weight << "\">" << escaped(text) << "</text>\n";
    };
    auto bar = [&](const Period& p, double y, double h, const char* colour) {
        if (p.to <= p.from) return;
        out << "<rect x=\"" << number(left + p.from * scale) << "\" y=\"" << number(y) << "\" width=\""
            << number((p.to - p.from) * scale) << "\" height=\"" << number(h) << "\" fill=\"" << colour
            << "\"/>\n";
    };
    for (size_t g = 0; g < groups; ++g) {
        double y = kTop + kRowPitch * static_cast<double>(g);
        label(y, timeline.groupNames[g], "normal");
        for (const Period& p : periodsOf(timeline, ObjectKind::kSignalGroup, static_cast<int>(g)))
            bar(p, y, kRowHeight, colourOf(lightOf(p.value)));
    }
    if (detectors > 0) label(detectorTop - kRowPitch, "detectors", "bold");
    for (size_t d = 0; d < detectors; ++d) {
        double y = detectorTop + kRowPitch * static_cast<double>(d);
        label(y, timeline.detectorNames[d], "normal");
        out << "<line x1=\"" << number(left) << "\" y1=\"" << number(y + kRowHeight - 1) << "\" x2=\""
            << number(left + kPlotWidth) << "\" y2=\"" << number(y + kRowHeight - 1)
            << "\" stroke=\"#999999\"/>\n";
        for (const Period& p : periodsOf(timeline, ObjectKind::kDetector, static_cast<int>(d))) {
            if (p.value != 0) bar(p, y + 4, kRowHeight - 4, kOccupiedColour);
        }
    }
    out << "</svg>\n";
}

}  // namespace tavir::cli
