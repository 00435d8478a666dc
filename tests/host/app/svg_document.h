// Reads a picture the host program drew with an XML parser, so that tests
// check its elements and their geometry rather than its text.
#pragma once

#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <tinyxml2.h>

namespace flamer_host::testing {

using Element = const tinyxml2::XMLElement*;

// A rectangle as the picture gives it: x, y, width, height.
struct Box {
    double x = 0, y = 0, width = 0, height = 0;

    double Right() const { return x + width; }
    double Bottom() const { return y + height; }
    // True when the two share more than an edge (a small tolerance for the
    // two decimals the picture writes).
    bool Overlaps(const Box& o) const {
        constexpr double kSlack = 0.02;
        return x < o.Right() - kSlack && o.x < Right() - kSlack && y < o.Bottom() - kSlack &&
               o.y < Bottom() - kSlack;
    }
    bool Holds(double px, double py) const {
        return px >= x && px <= Right() && py >= y && py <= Bottom();
    }
};

inline double Number(Element element, const char* name) {
    const char* text = element->Attribute(name);
    EXPECT_NE(text, nullptr) << element->Name() << " has no " << name;
    return text == nullptr ? 0.0 : std::strtod(text, nullptr);
}

inline std::string Text(Element element) {
    const char* text = element->GetText();
    return text == nullptr ? "" : text;
}

inline bool HasClass(Element element, const std::string& name) {
    const char* classes = element->Attribute("class");
    if (classes == nullptr) return false;
    std::istringstream words(classes);
    for (std::string word; words >> word;)
        if (word == name) return true;
    return false;
}

inline Box BoxOf(Element rect) {
    return {Number(rect, "x"), Number(rect, "y"), Number(rect, "width"), Number(rect, "height")};
}

// Every element of `tag` under `from` (itself included) that carries all
// the classes named, in document order.
inline std::vector<Element> FindAll(Element from, const std::string& tag,
                                    const std::vector<std::string>& classes = {}) {
    std::vector<Element> found;
    std::function<void(Element)> visit = [&](Element element) {
        bool matches = tag == element->Name();
        for (const std::string& name : classes) matches = matches && HasClass(element, name);
        if (matches) found.push_back(element);
        for (Element child = element->FirstChildElement(); child != nullptr;
             child = child->NextSiblingElement())
            visit(child);
    };
    visit(from);
    return found;
}

inline Element FindOne(Element from, const std::string& tag,
                       const std::vector<std::string>& classes = {}) {
    const std::vector<Element> found = FindAll(from, tag, classes);
    EXPECT_EQ(found.size(), 1u) << tag;
    return found.empty() ? nullptr : found.front();
}

// The targets of every link under `from`, in document order.
inline std::vector<std::string> Links(Element from) {
    std::vector<std::string> targets;
    for (Element link : FindAll(from, "a"))
        targets.push_back(link->Attribute("href") != nullptr ? link->Attribute("href") : "");
    return targets;
}

// The element of `tag` and classes whose data-name is `name`.
inline Element Named(Element from, const std::string& tag, const std::vector<std::string>& classes,
                     const std::string& name) {
    for (Element element : FindAll(from, tag, classes)) {
        const char* data = element->Attribute("data-name");
        if (data != nullptr && name == data) return element;
    }
    ADD_FAILURE() << "no " << tag << " named " << name;
    return nullptr;
}

// One label of a view: the box behind it and its text.
struct Label {
    std::string name;
    Box box;
    double textX;
    double textY;
};

inline std::vector<Label> LabelsOf(Element view) {
    std::vector<Label> labels;
    for (Element group : FindAll(view, "g", {"label"})) {
        Element rect = FindOne(group, "rect", {"label-box"});
        Element text = group->FirstChildElement("text");
        if (rect == nullptr || text == nullptr) continue;
        labels.push_back(
            {group->Attribute("data-name"), BoxOf(rect), Number(text, "x"), Number(text, "y")});
    }
    return labels;
}

// Labels that overlap another of the same view, as "a/b" pairs.
inline std::vector<std::string> OverlappingLabels(Element view) {
    const std::vector<Label> labels = LabelsOf(view);
    std::vector<std::string> pairs;
    for (std::size_t i = 0; i < labels.size(); ++i)
        for (std::size_t j = i + 1; j < labels.size(); ++j)
            if (labels[i].box.Overlaps(labels[j].box))
                pairs.push_back(labels[i].name + "/" + labels[j].name);
    return pairs;
}

// A picture parsed; `Root()` is null when the text is not well-formed XML.
class SvgDocument {
public:
    explicit SvgDocument(const std::string& text) { document_.Parse(text.c_str(), text.size()); }
    SvgDocument(const SvgDocument&) = delete;
    SvgDocument& operator=(const SvgDocument&) = delete;

    bool Parsed() const { return !document_.Error(); }
    std::string Error() const { return document_.ErrorStr(); }
    Element Root() const { return document_.RootElement(); }

    // The view ("top-view" or "side-view").
    Element View(const std::string& name) const { return FindOne(Root(), "g", {"view", name}); }

private:
    tinyxml2::XMLDocument document_;
};

}  // namespace flamer_host::testing
