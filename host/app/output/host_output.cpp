#include "host_output.h"

#include "shown_text.h"

namespace flamer_host {

namespace {

// How often the progress line changes at most.
constexpr std::chrono::milliseconds kProgressInterval{250};

}  // namespace

HostOutput::HostOutput(std::ostream& out, std::ostream& err, std::string pictureDirectory,
                       ProgressLine progress)
    : report_(out, err),
      out_(out),
      err_(err),
      pictureDirectory_(std::move(pictureDirectory)),
      progress_(progress),
      started_(std::chrono::steady_clock::now()) {}

bool HostOutput::Take(const Happening& happening) {
    if (const auto* started = std::get_if<ScenarioStarted>(&happening)) {
        source_ = started->source;
        commandCount_ = started->commandCount;
        if (!pictureDirectory_.empty()) pictures_.emplace(pictureDirectory_, source_);
    }
    if (const auto* command = std::get_if<CommandStarted>(&happening)) {
        commandLine_ = command->line;
        ++commandsPlayed_;
    }
    ShowProgress();
    if (const auto* explosion = std::get_if<Explosion>(&happening)) {
        // One model serves the report and the picture.
        ++explosions_;
        const ExplosionModel model = ModelOf(*explosion);
        report_.PrintExplosion(model);
        return Draw(model);
    }
    if (std::holds_alternative<RunFailed>(happening) ||
        std::holds_alternative<ScenarioRefused>(happening) ||
        std::holds_alternative<ScenarioEnded>(happening))
        ClearProgress();
    report_.Print(happening);
    if (std::holds_alternative<ScenarioEnded>(happening)) return FinishPictures();
    return true;
}

void HostOutput::ShowProgress() {
    if (!progress_.shown) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - started_ < progress_.after || now - lastShown_ < kProgressInterval) return;
    lastShown_ = now;
    progressShowing_ = true;
    err_ << "\r\x1b[Kflamer_host: " << commandsPlayed_ << " of " << commandCount_
         << " commands played, " << explosions_
         << (explosions_ == 1 ? " explosion" : " explosions");
    if (pictures_)
        err_ << ", " << pictures_->Drawn() << (pictures_->Drawn() == 1 ? " picture" : " pictures")
             << " written";
    err_ << std::flush;
}

void HostOutput::ClearProgress() {
    if (!progressShowing_) return;
    progressShowing_ = false;
    err_ << "\r\x1b[K" << std::flush;
}

bool HostOutput::Draw(const ExplosionModel& model) {
    if (!pictures_) return true;
    std::string error;
    switch (pictures_->Add(model, error)) {
        case PictureFolder::Result::kWritten:
            out_ << "  picture: " << Printable(pictures_->PathOf(model.record.number)) << "\n";
            return true;
        case PictureFolder::Result::kBeyondLimit:
            if (pictures_->NotDrawn() == 1)
                out_ << "  picture: not drawn, nor those of the explosions after it (a run "
                        "draws at most "
                     << kPictureLimit << ")\n";
            return true;
        case PictureFolder::Result::kFailed:
            break;
    }
    ClearProgress();
    err_ << FormatError(
                ScenarioError{.source = source_, .line = commandLine_, .message = Printable(error)})
         << "\n";
    return false;
}

bool HostOutput::FinishPictures() {
    if (!pictures_) return true;
    std::string error;
    if (!pictures_->Finish(error)) {
        err_ << "flamer_host: " << Printable(error) << "\n";
        return false;
    }
    out_ << "\npictures: " << Printable(pictures_->IndexPath()) << " shows the "
         << pictures_->Drawn() << (pictures_->Drawn() == 1 ? " explosion" : " explosions")
         << " drawn";
    const int removed = pictures_->Removed();
    if (removed > 0)
        out_ << "; " << removed << (removed == 1 ? " picture" : " pictures")
             << " of an earlier run removed";
    out_ << "\n";
    return true;
}

}  // namespace flamer_host
