#include "picture_folder.h"

#include "explosion_words.h"
#include "output_file.h"
#include "svg_canvas.h"
#include "svg_writer.h"

#include <filesystem>
#include <sstream>
#include <system_error>

namespace flamer_host {
namespace {

namespace fs = std::filesystem;

std::string Anchor(int number) { return "explosion-" + std::to_string(number); }

// What set the explosion off; when another explosion did, the words that
// name it link to its figure.
std::string SetOffHtml(const Explosion& explosion) {
    if (explosion.setOffBy <= 0) return XmlText(SetOffByText(explosion));
    return XmlText(SetOffByDeathText(explosion)) + "<a href=\"#" + Anchor(explosion.setOffBy) +
           "\">" + ExplosionName(explosion.setOffBy) + "</a>";
}

constexpr char kIndexStyle[] =
    "body{font-family:sans-serif;margin:24px;color:#222}"
    "li{margin:4px 0}"
    "figure{margin:24px 0;border-top:1px solid #ccc;padding-top:12px}"
    "img{max-width:100%;height:auto}"
    ".set-off{font-weight:bold}";

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
    if (!flamer_common::WriteFileWhole(PathOf(explosion.number), ExplosionSvg(model), error)) return Result::kFailed;
    Entry entry;
    entry.number = explosion.number;
    entry.title = ExplosionTitle(explosion);
    entry.setOffHtml = SetOffHtml(explosion);
    entry.query = QueryCubeText(explosion) + ": " + HitCountText(explosion);
    entries_.push_back(std::move(entry));
    return Result::kWritten;
}

bool PictureFolder::WriteIndex(std::string& error) const {
    std::ostringstream html;
    html << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>"
         << XmlText("Explosions of " + scenarioName_) << "</title>\n<style>" << kIndexStyle
         << "</style>\n</head>\n<body>\n<h1>" << XmlText("Explosions of " + scenarioName_)
         << "</h1>\n<p>" << Drawn() << (Drawn() == 1 ? " explosion" : " explosions")
         << " drawn, in the order they happened. Each picture shows the explosion from above "
            "and from the side, with a table of every entity drawn and why it was hit, missed "
            "or not picked.</p>\n";
    if (notDrawn_ > 0)
        html << "<p>Explosions " << firstNotDrawn_ << " to " << lastNotDrawn_ << " (" << notDrawn_
             << ") are not drawn: a run draws at most " << kPictureLimit << " pictures.</p>\n";
    html << "<ol>\n";
    for (const Entry& entry : entries_) {
        html << "<li><a href=\"#" << Anchor(entry.number) << "\">" << XmlText(entry.title)
             << "</a>, <span class=\"set-off\">" << entry.setOffHtml << "</span>; "
             << XmlText(entry.query) << "</li>\n";
    }
    html << "</ol>\n";
    for (const Entry& entry : entries_)
        html << "<figure id=\"" << Anchor(entry.number) << "\"><figcaption>" << XmlText(entry.title)
             << "<br>" << entry.setOffHtml << "<br>" << XmlText(entry.query)
             << "</figcaption><a href=\"" << ExplosionSvgName(entry.number) << "\"><img src=\""
             << ExplosionSvgName(entry.number) << "\" loading=\"lazy\" alt=\""
             << XmlText(entry.title) << "\"></a></figure>\n";
    html << "</body>\n</html>\n";
    return flamer_common::WriteFileWhole(IndexPath(), html.str(), error);
}

}  // namespace flamer_host
