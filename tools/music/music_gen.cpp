// music-gen: the pieces of the music menu, from their readable notation in data/music
// to standard MIDI files in the app's midi folder, each named by its menu caption.
//
//   music-gen <notation folder> <midi folder>
//
// Every *.txt of the notation folder is one piece. A file is rewritten only when its
// bytes change, and a .mid that no piece produces any more is removed.

#include "music/notation.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeIfChanged(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
    const std::string now(bytes.begin(), bytes.end());
    if (fs::exists(p) && readAll(p) == now)
        return;
    const fs::path tmp = p.string() + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(now.data(), std::streamsize(now.size()));
        if (!out)
            throw std::runtime_error("cannot write " + tmp.string());
    }
    fs::rename(tmp, p);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: music-gen <notation folder> <midi folder>\n";
        return 2;
    }
    const fs::path in = argv[1], out = argv[2];
    fs::create_directories(out);
    std::set<fs::path> written;
    std::set<fs::path> inputs;
    for (const auto& entry : fs::directory_iterator(in))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            inputs.insert(entry.path());
    for (const fs::path& file : inputs) {
        try {
            const music::Piece piece = music::parse(readAll(file));
            const fs::path target = out / fs::path(piece.title + ".mid");
            if (written.count(target)) {
                std::cerr << file.string() << ": a second piece titled " << piece.title << "\n";
                return 1;
            }
            writeIfChanged(target, music::toMidiFile(piece));
            written.insert(target);
        } catch (const std::exception& e) {
            std::cerr << file.string() << ": " << e.what() << "\n";
            return 1;
        }
    }
    for (const auto& entry : fs::directory_iterator(out))
        if (entry.path().extension() == ".mid" && !written.count(entry.path()))
            fs::remove(entry.path());
    return 0;
}
