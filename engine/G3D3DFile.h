// The 3-D file: the text file that lists a level's pictures ("#IMAGES" lines
// N=FILE) and its animated textures ("#TEXTURES" lines T=A-B), and the
// animation of those textures.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/G3DState.h"

// One picture line: picture number and file name.
struct G3DPictureLine {
    int32_t Picture;
    std::string File;
};

// One texture line: texture number and its range of pictures.
struct G3DTextureLine {
    int32_t Texture;
    int32_t First;
    int32_t Last;
};

// The accepted lines of a 3-D file, in file order.
struct G3D3DFileContents {
    std::vector<G3DPictureLine> Pictures;
    std::vector<G3DTextureLine> Textures;
};

// A line as the file is read: at most 255 characters, tabs, carriage returns
// and blanks removed, a-z upper-cased.
std::string G3DNormaliseLine(std::string_view line);

// Parses the text of a 3-D file. Lines before "#IMAGES" are ignored; empty
// lines are skipped; lines without their "=" (or "-"), or whose numbers are not
// decimal numbers in 0..32767, are skipped.
G3D3DFileContents G3DParse3DFile(std::string_view text);

// Loads a 3-D file: remembers its name in Last3DFile, loads its pictures (the
// first one's palette becomes MainPalette, the second's SecondPalette) and sets
// the animated textures. A missing file shows the missing-file message and only
// resets HighestAnimTexture; so does a file that names no picture, beside
// setting the animated textures it holds. An empty name does nothing.
void G3DLoad3DFile(const std::string& name, TDStuff& state);

// Advances every animated texture 0..HighestAnimTexture by one picture,
// wrapping back to First past Last (ranges may run downwards).
void G3DAnimateTextures(TDStuff& state);
