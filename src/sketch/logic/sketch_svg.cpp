#include "sketch/logic/sketch_svg.h"

#include "core/cp1252.h"
#include "sketch/logic/sketch_drawing.h"

#include <cstdio>

namespace ferolan {
namespace {

// A4 landscape in CSS pixels (96 per inch).
constexpr double kPageWidth = 1123, kPageHeight = 794;

std::string number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

std::string colour(const Rgb &rgb) {
    return "rgb(" + std::to_string(rgb.red) + "," + std::to_string(rgb.green) + "," +
           std::to_string(rgb.blue) + ")";
}

std::string escaped(std::string_view cp1252) {
    std::string out;
    const std::string utf8 = utf8FromCp1252(cp1252);
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            switch (byte) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                // Control characters have no place in XML text.
                out += byte < 0x20 ? ' ' : static_cast<char>(byte);
            }
            ++i;
            continue;
        }
        const int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        char32_t code = byte & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + static_cast<std::size_t>(k) < utf8.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out += "&#" + std::to_string(static_cast<unsigned long>(code)) + ";";
        i += static_cast<std::size_t>(length);
    }
    return out;
}

// Marks of surveyed points carry a class, so they can be told from the legend's.
std::string markClass(const SketchShape &shape) {
    return shape.pointMark ? " class=\"point\"" : "";
}

std::string element(const SketchShape &shape) {
    switch (shape.kind) {
    case SketchShape::Line:
        return "<line x1=\"" + number(shape.x) + "\" y1=\"" + number(shape.y) + "\" x2=\"" +
               number(shape.x2) + "\" y2=\"" + number(shape.y2) + "\" stroke=\"" +
               colour(shape.colour) + "\" stroke-width=\"" + number(shape.size) + "\"" +
               (shape.dashed ? " stroke-dasharray=\"6,4\"" : "") + "/>";
    case SketchShape::Dot:
        return "<circle" + markClass(shape) + " cx=\"" + number(shape.x) + "\" cy=\"" +
               number(shape.y) + "\" r=\"" + number(shape.size) + "\" fill=\"" +
               colour(shape.colour) + "\"/>";
    case SketchShape::Triangle:
        return "<polygon" + markClass(shape) + " points=\"" + number(shape.x) + "," +
               number(shape.y - shape.size) + " " + number(shape.x - shape.size) + "," +
               number(shape.y + shape.size * 0.7) + " " + number(shape.x + shape.size) + "," +
               number(shape.y + shape.size * 0.7) + "\" fill=\"" + colour(shape.colour) + "\"/>";
    case SketchShape::Text:
        return "<text x=\"" + number(shape.x) + "\" y=\"" + number(shape.y) + "\" font-size=\"" +
               number(shape.size) + "\"" + (shape.bold ? " font-weight=\"bold\"" : "") +
               " fill=\"" + colour(shape.colour) + "\">" + escaped(shape.text) + "</text>";
    }
    return {};
}

} // namespace

std::string sketchSvg(const SurveySketch &sketch) {
    const SketchView view = fittedView(sketch, kPageWidth, kPageHeight);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"297mm\" height=\"210mm\" "
                      "viewBox=\"0 0 " +
                      number(kPageWidth) + " " + number(kPageHeight) +
                      "\" font-family=\"sans-serif\">\r\n"
                      "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\r\n";
    for (const SketchShape &shape : drawSketch(sketch, view))
        svg += element(shape) + "\r\n";
    return svg + "</svg>\r\n";
}

} // namespace ferolan
