#include "host_output.h"

#include "shown_text.h"

namespace flamer_host {

HostOutput::HostOutput(std::ostream& out, std::ostream& err, std::string pictureDirectory)
    : report_(out, err), out_(out), err_(err), pictureDirectory_(std::move(pictureDirectory)) {}

bool HostOutput::Take(const Happening& happening) {
    if (const auto* started = std::get_if<ScenarioStarted>(&happening)) {
        source_ = started->source;
        if (!pictureDirectory_.empty()) pictures_.emplace(pictureDirectory_, source_);
    }
    if (const auto* command = std::get_if<CommandStarted>(&happening)) commandLine_ = command->line;
    if (const auto* explosion = std::get_if<Explosion>(&happening)) {
        // One model serves the report and the picture.
        const ExplosionModel model = ModelOf(*explosion);
        report_.PrintExplosion(model);
        return Draw(model);
    }
    report_.Print(happening);
    if (std::holds_alternative<ScenarioEnded>(happening)) return FinishPictures();
    return true;
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
    err_ << FormatError(
                ScenarioError{.source = source_, .line = commandLine_, .message = Printable(error)})
         << "\n";
    return false;
}

bool HostOutput::FinishPictures() {
    if (!pictures_) return true;
    std::string error;
    if (!pictures_->WriteIndex(error)) {
        err_ << "flamer_host: " << Printable(error) << "\n";
        return false;
    }
    out_ << "\npictures: " << Printable(pictures_->IndexPath()) << " shows the "
         << pictures_->Drawn() << (pictures_->Drawn() == 1 ? " explosion" : " explosions")
         << " drawn\n";
    return true;
}

}  // namespace flamer_host
