// The icon's SVG in features every renderer draws alike. Cairo writes
// gradients, which ImageMagick's own SVG renderer paints black, and its clip
// paths ImageMagick applies inside out; so neither is used. A radial gradient
// becomes the shape it filled drawn again and again, each copy smaller toward
// the gradient's focus and in the gradient's colour there (layers that
// overlap, so no seams show between them); a linear one becomes its mean
// colour. Opacities go into the colours as rgba(), which both renderers read.
#include "icon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kLayers = 24;

struct Stop {
    double offset, r, g, b, a;  // colour in 0..1
};

struct Gradient {
    bool radial = false;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;         // linear: the axis
    double cx = 0, cy = 0, fx = 0, fy = 0, r = 0;  // radial: centre, focus, radius
    std::string transform;                         // gradientTransform, or empty
    std::vector<Stop> stops;
};

std::string Attribute(const std::string& tag, const std::string& name) {
    const std::regex pattern("\\s" + name + "=\"([^\"]*)\"");
    std::smatch m;
    return std::regex_search(tag, m, pattern) ? m[1].str() : std::string();
}

double Number(const std::string& tag, const std::string& name) {
    const std::string text = Attribute(tag, name);
    return text.empty() ? 0 : std::stod(text);
}

Stop ParseStop(const std::string& tag) {
    Stop stop{Number(tag, "offset"), 0, 0, 0, 1};
    std::smatch m;
    const std::string style = Attribute(tag, "style");
    if (std::regex_search(style, m, std::regex("stop-color:rgb\\(([-0-9.]+)%,([-0-9.]+)%,([-0-9.]+)%\\)"))) {
        stop.r = std::stod(m[1]) / 100;
        stop.g = std::stod(m[2]) / 100;
        stop.b = std::stod(m[3]) / 100;
    }
    if (std::regex_search(style, m, std::regex("stop-opacity:([-0-9.]+)"))) stop.a = std::stod(m[1]);
    return stop;
}

// The gradient's colour at t (0..1 along it), stops interpolated linearly.
Stop ColourAt(const Gradient& g, double t) {
    if (g.stops.empty()) return Stop{t, 0, 0, 0, 0};
    if (t <= g.stops.front().offset) return g.stops.front();
    for (size_t i = 1; i < g.stops.size(); ++i) {
        const Stop &a = g.stops[i - 1], &b = g.stops[i];
        if (t > b.offset) continue;
        const double f = b.offset > a.offset ? (t - a.offset) / (b.offset - a.offset) : 1;
        return Stop{t, a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f, a.a + (b.a - a.a) * f};
    }
    return g.stops.back();
}

// A fill as rgba(): ImageMagick's renderer ignores fill-opacity and opacity.
std::string Fill(const Stop& c) {
    char text[96];
    std::snprintf(text, sizeof text, "fill:rgba(%d,%d,%d,%.3f)", int(std::lround(c.r * 255)),
                  int(std::lround(c.g * 255)), int(std::lround(c.b * 255)), c.a);
    return text;
}

// Cairo's own "fill:rgb(R%,G%,B%);fill-opacity:A" (and stroke's) as rgba().
std::string OpacityInColours(const std::string& svg) {
    const std::regex paint(
        "(fill|stroke):rgb\\(([-0-9.]+)%,([-0-9.]+)%,([-0-9.]+)%\\);(fill|stroke)-opacity:([-0-9.]+)");
    std::string out;
    size_t at = 0;
    for (std::sregex_iterator it(svg.begin(), svg.end(), paint), end; it != end; ++it) {
        const std::smatch& m = *it;
        out += svg.substr(at, size_t(m.position(0)) - at);
        at = size_t(m.position(0) + m.length(0));
        if (m[1].str() != m[5].str()) {
            out += m[0].str();
            continue;
        }
        char text[96];
        std::snprintf(text, sizeof text, "%s:rgba(%d,%d,%d,%s)", m[1].str().c_str(),
                      int(std::lround(std::stod(m[2]) * 2.55)), int(std::lround(std::stod(m[3]) * 2.55)),
                      int(std::lround(std::stod(m[4]) * 2.55)), m[6].str().c_str());
        out += text;
    }
    return out + svg.substr(at);
}

// The mean colour along a linear gradient.
Stop MeanColour(const Gradient& g) {
    Stop mean{0, 0, 0, 0, 0};
    constexpr int kSamples = 64;
    for (int i = 0; i < kSamples; ++i) {
        const Stop c = ColourAt(g, (i + 0.5) / kSamples);
        mean.r += c.r * c.a;  // colours weighed by their cover
        mean.g += c.g * c.a;
        mean.b += c.b * c.a;
        mean.a += c.a;
    }
    if (mean.a > 0) {
        mean.r /= mean.a;
        mean.g /= mean.a;
        mean.b /= mean.a;
    }
    mean.a /= kSamples;
    return mean;
}

// The copies of a shape (path data d, drawn with `style` and `rest`) that
// stand in for a radial gradient: copy k of kLayers scaled by s = 1 - k /
// kLayers about the focus, in the colour at t = s. Translucent gradients
// (glows) get layer opacities that add up to the gradient's opacity there.
std::string Layers(const Gradient& g, const std::string& fillRule, const std::string& d, const std::string& transform) {
    std::string out;
    double covered = 0;  // opacity of the layers drawn so far
    char place[160];
    for (int k = 0; k < kLayers; ++k) {
        const double scale = 1.0 - double(k) / kLayers;
        Stop colour = ColourAt(g, scale);
        const double wanted = colour.a;
        colour.a = covered >= 1 ? (wanted >= 1 ? 1 : 0) : std::clamp((wanted - covered) / (1 - covered), 0.0, 1.0);
        if (colour.a <= 0.002) continue;
        covered = covered + colour.a * (1 - covered);
        // Scaled about the focus, in the gradient's own coordinates when it has them.
        std::snprintf(place, sizeof place, "translate(%.4f %.4f) scale(%.5f) translate(%.4f %.4f)", g.fx, g.fy, scale,
                      -g.fx, -g.fy);
        std::string about = place;
        if (!g.transform.empty()) {
            // The focus in the shape's coordinates: through the gradient's matrix.
            double m[6] = {1, 0, 0, 1, 0, 0};
            std::sscanf(g.transform.c_str(), "matrix(%lf,%lf,%lf,%lf,%lf,%lf)", &m[0], &m[1], &m[2], &m[3], &m[4],
                        &m[5]);
            const double x = m[0] * g.fx + m[2] * g.fy + m[4], y = m[1] * g.fx + m[3] * g.fy + m[5];
            std::snprintf(place, sizeof place, "translate(%.4f %.4f) scale(%.5f) translate(%.4f %.4f)", x, y, scale, -x,
                          -y);
            about = place;
        }
        out += "<path style=\"stroke:none;fill-rule:" + fillRule + ";" + Fill(colour) + "\" d=\"" + d +
               "\" transform=\"" + (transform.empty() ? "" : transform + " ") + about + "\"/>\n";
    }
    return out;
}

}  // namespace

std::string FlattenSvgGradients(const std::string& svg) {
    // The gradients Cairo defined, by id.
    std::map<std::string, Gradient> gradients;
    const std::regex definition("<(linear|radial)Gradient\\s[^>]*>([\\s\\S]*?)</(linear|radial)Gradient>");
    for (std::sregex_iterator it(svg.begin(), svg.end(), definition), end; it != end; ++it) {
        const std::string whole = (*it)[0].str(), open = whole.substr(0, whole.find('>') + 1);
        Gradient g;
        g.radial = (*it)[1].str() == "radial";
        if (Attribute(open, "gradientUnits") != "userSpaceOnUse")
            throw std::runtime_error("icon SVG: a gradient not in user space: " + open);
        g.x1 = Number(open, "x1");
        g.y1 = Number(open, "y1");
        g.x2 = Number(open, "x2");
        g.y2 = Number(open, "y2");
        g.cx = Number(open, "cx");
        g.cy = Number(open, "cy");
        g.fx = Attribute(open, "fx").empty() ? g.cx : Number(open, "fx");
        g.fy = Attribute(open, "fy").empty() ? g.cy : Number(open, "fy");
        g.r = Number(open, "r");
        g.transform = Attribute(open, "gradientTransform");
        const std::string body = (*it)[2].str();
        const std::regex stopTag("<stop\\s[^>]*>");
        for (std::sregex_iterator s(body.begin(), body.end(), stopTag); s != std::sregex_iterator(); ++s)
            g.stops.push_back(ParseStop(s->str()));
        gradients[Attribute(open, "id")] = g;
    }
    // Every path filled by one: its layers or its mean colour, and its
    // stroke on top as before.
    std::string out;
    const std::regex filled("<path style=\"([^\"]*)fill:url\\(#([^)]+)\\);([^\"]*)\"([^>]*)/>");
    size_t at = 0;
    for (std::sregex_iterator it(svg.begin(), svg.end(), filled), end; it != end; ++it) {
        const std::smatch& m = *it;
        const auto found = gradients.find(m[2].str());
        if (found == gradients.end()) throw std::runtime_error("icon SVG: no gradient '" + m[2].str() + "'");
        const Gradient& g = found->second;
        const std::string before = m[1].str(), after = m[3].str(), rest = m[4].str();
        out += svg.substr(at, size_t(m.position(0)) - at);
        at = size_t(m.position(0) + m.length(0));
        if (g.radial) {
            const bool evenOdd = (before + after).find("fill-rule:evenodd") != std::string::npos;
            out += Layers(g, evenOdd ? "evenodd" : "nonzero", Attribute(rest, "d"), Attribute(rest, "transform"));
            out += "<path style=\"" + before + "fill:none;" + after + "\"" + rest + "/>\n";
        } else {
            out += "<path style=\"" + before + Fill(MeanColour(g)) + ";" + after + "\"" + rest + "/>\n";
        }
    }
    out += svg.substr(at);
    // The gradient definitions are no longer used.
    return OpacityInColours(std::regex_replace(out, definition, ""));
}
