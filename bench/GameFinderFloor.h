#pragma once

#include <string>
#include <vector>

// The least the game search costs over a home of Lutris prefixes: listing
// ~/Games for folders with a drive_c; for each, reading its system.reg into
// one reused buffer and finding the game's two registry keys among the
// section headers without regard to case, and looking for the game in the
// usual install folders under its drive_c.
class GameFinderFloor {
public:
    struct Found {
        int registeredPrefixes = 0; // prefixes whose registry holds a key
        int installedGames = 0;     // usual folders that hold the game
    };

    Found search(const std::string& home);

private:
    bool registryNamesGame(const std::string& file);
    void readWhole(const std::string& file);
    static int gamesInUsualFolders(const std::string& driveC);

    std::vector<char> m_buffer;
};
