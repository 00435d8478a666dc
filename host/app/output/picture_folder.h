// The pictures of one run: one SVG per explosion, for at most kPictureLimit
// explosions, and an index.html that tells every explosion drawn in order as
// text that reflows on any screen (its title, what set it off, linked to the
// explosion that did, what its query found, the table of every entity and
// why, a legend) beside its two views, each a fragment of its picture.
//
// A chain of any length writes at most kPictureLimit pictures and an index
// of as many entries; the explosions beyond are only counted.
#pragma once

#include "explosion_model.h"
#include "svg_writer.h"

#include <optional>
#include <string>
#include <vector>

namespace flamer_host {

inline constexpr int kPictureLimit = 500;
inline constexpr char kIndexName[] = "index.html";

// Makes sure pictures can be written into `directory`, creating it if
// missing; false, with the reason in `error`, when they cannot.
bool PrepareSvgDirectory(const std::string& directory, std::string& error);

class PictureFolder {
public:
    PictureFolder(std::string directory, std::string scenarioName);

    enum class Result {
        kWritten,
        kBeyondLimit,  // not drawn: the limit is reached
        kFailed,       // the file could not be written (the reason in `error`)
    };
    // Draws the explosion; its picture links to the next explosion's until
    // Finish finds there was none.
    Result Add(const ExplosionModel& model, std::string& error);

    // Where the picture of explosion `number` is.
    std::string PathOf(int number) const;
    std::string IndexPath() const;
    int Drawn() const { return static_cast<int>(sections_.size()); }
    int NotDrawn() const { return notDrawn_; }

    // Draws the last picture again without its link to a next one, writes
    // index.html, and removes the pictures an earlier run left in the folder
    // under this program's names; false, with the reason in `error`, when a
    // file cannot be written.
    bool Finish(std::string& error);
    // How many pictures of an earlier run Finish removed.
    int Removed() const { return removed_; }

private:
    std::string IndexHtml() const;
    void RemoveStalePictures();

    std::string directory_;
    std::string scenarioName_;
    std::vector<std::string> titles_;    // each drawn explosion's title, for the contents
    std::vector<std::string> sections_;  // each drawn explosion's part of the index
    std::optional<Explosion> last_;      // the last explosion drawn
    int notDrawn_ = 0;
    int firstNotDrawn_ = 0;
    int lastNotDrawn_ = 0;
    int removed_ = 0;
};

}  // namespace flamer_host
