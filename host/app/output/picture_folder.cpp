#include "picture_folder.h"

#include "explosion_words.h"
#include "output_file.h"
#include "picture_style.h"
#include "svg_canvas.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace flamer_host {
namespace {

namespace fs = std::filesystem;

constexpr char kPicturePrefix[] = "explosion-";
constexpr char kPictureSuffix[] = ".svg";

// What set the explosion off; when another explosion did, the words that
// name it link to its section.
std::string SetOffHtml(const Explosion& explosion) {
    if (explosion.setOffBy <= 0) return XmlText(SetOffByText(explosion));
    return XmlText(SetOffByDeathText(explosion)) + "<a href=\"#" +
           ExplosionAnchor(explosion.setOffBy) + "\">" + ExplosionName(explosion.setOffBy) + "</a>";
}

// The page's look: text that reflows, views that sit side by side where
// there is room and one under the other where there is not, a table that
// scrolls on its own when a screen is narrower than it, and each verdict in
// the colour the pictures give it.
std::string IndexStyle() {
    std::string style =
        "body{font-family:sans-serif;line-height:1.4;color:#222;margin:0 auto;max-width:80em;"
        "padding:0 1em 2em}"
        "h1{font-size:1.5em}h2{font-size:1.2em;margin-bottom:0.3em}"
        "section{border-top:1px solid #ccc;margin-top:2em}"
        "p{margin:0.3em 0}"
        ".set-off{font-weight:bold}"
        ".views{display:flex;flex-wrap:wrap;gap:1em;margin:1em 0}"
        ".views figure{margin:0;flex:1 1 36em}"
        ".views img{display:block;width:100%;height:auto;border:1px solid #ddd}"
        ".views figcaption{font-size:0.9em;color:#555}"
        ".table-wrap{overflow-x:auto}"
        "table{border-collapse:collapse;font-size:0.95em}"
        "caption{text-align:left;font-weight:bold;padding:0.3em 0}"
        "th,td{text-align:left;vertical-align:top;padding:0.2em 0.7em 0.2em 0;"
        "border-bottom:1px solid #eee}"
        "td.number{white-space:nowrap}td.why{min-width:16em}"
        ".legend{list-style:none;padding:0;display:flex;flex-wrap:wrap;gap:0.3em 1.5em}"
        ".legend svg{vertical-align:middle;margin-right:0.4em}";
    for (int verdict = 0; verdict < kVerdictCount; ++verdict) {
        const VerdictStyle& paint = StyleOf(static_cast<Verdict>(verdict));
        style += std::string(".") + paint.cssClass + " .verdict{color:" + paint.colour + "}";
    }
    return style;
}

// A length in whole pixels, as HTML's width and height take it.
std::string Pixels(double length) { return std::to_string(std::lround(length)); }

std::string TableHtml(const ExplosionModel& model) {
    const std::vector<TableRow> rows = TableRows(model);
    if (rows.empty()) return "";
    std::string html =
        "<div class=\"table-wrap\"><table>\n<caption>Every entity drawn, and why it was hit, "
        "missed or not picked</caption>\n<thead><tr>";
    for (const char* heading : kTableHeadings)
        html += "<th scope=\"col\">" + XmlText(heading) + "</th>";
    html += "</tr></thead>\n<tbody>\n";
    for (const TableRow& row : rows) {
        html += "<tr class=\"" + std::string(StyleOf(row.entity->verdict).cssClass) +
                "\"><th scope=\"row\">" + XmlText(row.cells[0]) + "</th><td class=\"verdict\">" +
                XmlText(row.cells[1]) + "</td>";
        for (int column = 2; column < kTableColumns; ++column)
            html += std::string(column < 5 ? "<td class=\"number\">" : "<td class=\"why\">") +
                    XmlText(row.cells[column]) + "</td>";
        html += "</tr>\n";
    }
    return html + "</tbody></table></div>\n";
}

std::string LegendHtml(const std::vector<LegendItem>& legend) {
    std::string html = "<ul class=\"legend\" aria-label=\"Legend\">\n";
    for (const LegendItem& item : legend) {
        html += "<li>";
        if (!item.symbol.empty())
            html += "<svg aria-hidden=\"true\" width=\"" + Num(kLegendSymbolWidth) +
                    "\" height=\"" + Num(kLegendSymbolHeight) + "\" viewBox=\"0 0 " +
                    Num(kLegendSymbolWidth) + " " + Num(kLegendSymbolHeight) + "\">" + item.symbol +
                    "</svg>";
        html += XmlText(item.text) + "</li>\n";
    }
    return html + "</ul>\n";
}

// The explosion's part of the index: its words as text, its two views as
// fragments of its picture, its table and its legend.
std::string SectionHtml(const ExplosionModel& model, const SvgPicture& picture) {
    const Explosion& explosion = model.record;
    const std::string anchor = ExplosionAnchor(explosion.number);
    const std::string file = ExplosionSvgName(explosion.number);
    std::string html = "<section id=\"" + anchor + "\" aria-labelledby=\"" + anchor + "-title\">\n";
    html += "<h2 id=\"" + anchor + "-title\">" + XmlText(HeadingText(explosion)) + "</h2>\n";
    const std::string setOff = SetOffHtml(explosion);
    if (!setOff.empty()) html += "<p class=\"set-off\">" + setOff + "</p>\n";
    html += "<p>" + XmlText(QueryText(explosion)) + "</p>\n<p>" + XmlText(BlastText(explosion)) +
            "</p>\n<div class=\"views\">\n";
    for (const SvgPicture::Fragment& view : picture.views) {
        // A view is never drawn larger than it was made.
        const std::string width = Pixels(view.box.Width());
        // The view's own proportions: a picture's whole page has others.
        const std::string height = Pixels(view.box.Height());
        html += "<figure style=\"max-width:" + width + "px\"><a href=\"" + file + "\"><img src=\"" +
                file + "#" + view.id + "\" width=\"" + width + "\" height=\"" + height +
                "\" style=\"aspect-ratio:" + width + "/" + height + "\" loading=\"lazy\" alt=\"" +
                XmlText(HeadingText(explosion)) + ", " + XmlText(view.description) +
                "\"></a><figcaption>" + XmlText(view.description) + "</figcaption></figure>\n";
    }
    html += "</div>\n" + TableHtml(model);
    const std::string notDrawn = NotDrawnText(explosion);
    if (!notDrawn.empty()) html += "<p>" + XmlText(notDrawn) + "</p>\n";
    html += LegendHtml(picture.legend);
    return html + "<p><a href=\"" + file + "\">The whole picture: " + file +
           "</a></p>\n</section>\n";
}

// The number in one of this program's picture names, or 0.
int PictureNumber(const std::string& name) {
    const std::size_t prefix = sizeof kPicturePrefix - 1;
    const std::size_t suffix = sizeof kPictureSuffix - 1;
    if (name.size() <= prefix + suffix || name.rfind(kPicturePrefix, 0) != 0) return 0;
    const std::string digits = name.substr(prefix, name.size() - prefix - suffix);
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9) return 0;
    const int number = std::atoi(digits.c_str());
    return number > 0 && ExplosionSvgName(number) == name ? number : 0;
}

}  // namespace

bool PrepareSvgDirectory(const std::string& directory, std::string& error) {
    const std::string refused = "cannot write pictures into " + directory + ": ";
    std::error_code code;
    const fs::file_status link = fs::symlink_status(directory, code);
    if (fs::is_symlink(link) && !fs::exists(fs::status(directory, code))) {
        error = refused + "it is a link to a missing place (" +
                fs::read_symlink(directory, code).string() + ")";
        return false;
    }
    fs::create_directories(directory, code);
    if (code || !fs::is_directory(directory, code)) {
        error = refused + (code ? code.message() : "it is not a folder");
        return false;
    }
    // A file made and removed again tells whether the folder takes files.
    std::string reason;
    if (!flamer_common::CanCreateFilesIn(directory, reason)) {
        error = refused + reason;
        return false;
    }
    return true;
}

PictureFolder::PictureFolder(std::string directory, std::string scenarioName)
    : directory_(std::move(directory)), scenarioName_(std::move(scenarioName)) {}

std::string PictureFolder::PathOf(int number) const {
    return (fs::path(directory_) / ExplosionSvgName(number)).string();
}

std::string PictureFolder::IndexPath() const {
    return (fs::path(directory_) / kIndexName).string();
}

PictureFolder::Result PictureFolder::Add(const ExplosionModel& model, std::string& error) {
    const Explosion& explosion = model.record;
    if (Drawn() >= kPictureLimit) {
        if (notDrawn_++ == 0) firstNotDrawn_ = explosion.number;
        lastNotDrawn_ = explosion.number;
        return Result::kBeyondLimit;
    }
    const SvgPicture picture =
        ExplosionSvg(model, PictureLinks{.previous = explosion.number > 1, .next = true});
    if (!flamer_common::WriteFileWhole(PathOf(explosion.number), picture.text, error))
        return Result::kFailed;
    titles_.push_back(ExplosionTitle(explosion));
    sections_.push_back(SectionHtml(model, picture));
    last_ = explosion;
    return Result::kWritten;
}

bool PictureFolder::Finish(std::string& error) {
    if (last_) {
        const SvgPicture picture = ExplosionSvg(
            ModelOf(*last_), PictureLinks{.previous = last_->number > 1, .next = false});
        if (!flamer_common::WriteFileWhole(PathOf(last_->number), picture.text, error))
            return false;
    }
    if (!flamer_common::WriteFileWhole(IndexPath(), IndexHtml(), error)) return false;
    RemoveStalePictures();
    return true;
}

// Pictures under this program's names beyond those this run drew.
void PictureFolder::RemoveStalePictures() {
    std::error_code code;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory_, code)) {
        std::error_code status;
        if (entry.is_directory(status)) continue;
        if (PictureNumber(entry.path().filename().string()) > Drawn() &&
            fs::remove(entry.path(), status))
            ++removed_;
    }
}

std::string PictureFolder::IndexHtml() const {
    const std::string title = XmlText("Explosions of " + scenarioName_);
    std::ostringstream html;
    html << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>"
         << title << "</title>\n<style>" << IndexStyle()
         << "</style>\n</head>\n<body>\n<header>\n<h1>" << title << "</h1>\n<p>" << Drawn()
         << (Drawn() == 1 ? " explosion" : " explosions")
         << " drawn, in the order they happened. Each is shown from above and from the side, "
            "with every entity drawn and why it was hit, missed or not picked.</p>\n";
    if (notDrawn_ > 0)
        html << "<p>Explosions " << firstNotDrawn_ << " to " << lastNotDrawn_ << " (" << notDrawn_
             << ") are not drawn: a run draws at most " << kPictureLimit << " pictures.</p>\n";
    html << "</header>\n<nav aria-label=\"Explosions\">\n<ol>\n";
    for (std::size_t i = 0; i < titles_.size(); ++i)
        html << "<li><a href=\"#" << ExplosionAnchor(static_cast<int>(i) + 1) << "\">"
             << XmlText(titles_[i]) << "</a></li>\n";
    html << "</ol>\n</nav>\n<main>\n";
    for (const std::string& section : sections_) html << section;
    html << "</main>\n</body>\n</html>\n";
    return html.str();
}

}  // namespace flamer_host
