// The pictures of one run: one SVG per explosion, for at most kPictureLimit
// explosions, and an index.html that lists every explosion drawn in order,
// what set it off (linked to the explosion that did), what its query found,
// and shows its picture.
//
// A chain of any length writes at most kPictureLimit pictures and an index
// of as many entries; the explosions beyond are only counted.
#pragma once

#include "explosion_model.h"

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
    Result Add(const ExplosionModel& model, std::string& error);

    // Where the picture of explosion `number` is.
    std::string PathOf(int number) const;
    std::string IndexPath() const;
    int Drawn() const { return static_cast<int>(entries_.size()); }
    int NotDrawn() const { return notDrawn_; }

    // Writes index.html; false, with the reason in `error`, when it cannot.
    bool WriteIndex(std::string& error) const;

private:
    // What the index says of one explosion drawn.
    struct Entry {
        int number = 0;
        std::string title;
        std::string setOffHtml;  // what set it off, linked to the explosion that did
        std::string query;
    };

    std::string directory_;
    std::string scenarioName_;
    std::vector<Entry> entries_;
    int notDrawn_ = 0;
    int firstNotDrawn_ = 0;
    int lastNotDrawn_ = 0;
};

}  // namespace flamer_host
