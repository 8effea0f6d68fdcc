#pragma once
// What the benchmarks that open real offscreen windows share: markup parsed into an element
// tree, and the Qt events the windows wait for delivered.
#include <QCoreApplication>

#include <memory>
#include <string>

#include "core/element.h"
#include "core/xml_parser.h"

namespace orvo::bench {

inline std::unique_ptr<XElement> ParseMarkup(const std::string& markup) {
    XMLParser parser;
    XElement* root = nullptr;
    if (!parser.ParseMemory(markup, &root))
        return nullptr;
    return std::unique_ptr<XElement>(root);
}

inline void PumpEvents(int passes = 5) {
    for (int pass = 0; pass < passes; ++pass)
        QCoreApplication::processEvents();
}

} // namespace orvo::bench
