#pragma once

#include "sketch/logic/survey_sketch.h"

#include <string>

namespace ferolan {

// The sketch fitted to an A4 landscape page as an SVG document. Every character beyond
// ASCII is written as a character reference, so the bytes are at once ASCII, Windows-1252 and
// UTF-8; lines end in CR LF.
std::string sketchSvg(const SurveySketch &sketch);

} // namespace ferolan
