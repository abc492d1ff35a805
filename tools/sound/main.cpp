// murko-sound: writes "music.mod", "music1.mod" and "bark.wav" from the scores in a folder.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "sound_tool.h"

constexpr int BarkRate = 22050;  // sample rate of "bark.wav"

static bool MakeTune(const std::string& score, const std::string& module,
                     const ModInstrument* instruments) {
    auto song = std::make_unique<ModSong>();
    return ReadScore(score.c_str(), song.get()) && WriteModule(module.c_str(), *song, instruments);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: murko-sound SCORE_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    std::string in = std::string(argv[1]) + "/";
    std::string out = std::string(argv[2]) + "/";
    std::error_code error;
    std::filesystem::create_directories(out, error);
    if (error) {
        std::fprintf(stderr, "murko-sound: cannot create %s: %s\n", out.c_str(),
                     error.message().c_str());
        return 1;
    }
    static ModInstrument instruments[ModInstruments];
    MakeInstruments(instruments);
    bool ok = MakeTune(in + "menu.score", out + "music.mod", instruments) &&
              MakeTune(in + "game.score", out + "music1.mod", instruments) &&
              WriteWave((out + "bark.wav").c_str(), MakeBark(BarkRate), BarkRate);
    return ok ? 0 : 1;
}
