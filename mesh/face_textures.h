#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "wad/mesh_record.h"
#include "wad/record_array.h"
#include "wad/wad_records.h"

namespace tarnlow {

// One texture-info record (8 bytes): the rectangle of a texture page that a
// face shows. The last pixel column is X + Width and the last row Y + Height,
// so a 32-pixel square stores Width 31.
struct TextureInfo {
  std::uint8_t X = 0;
  std::uint8_t Y = 0;
  std::uint16_t Page = 0;
  std::int8_t FlipX = 0;  // -1 or 0 as the level tools write it; drawing ignores it
  std::uint8_t Width = 0;
  std::int8_t FlipY = 0;  // likewise
  std::uint8_t Height = 0;
  friend bool operator==(const TextureInfo&, const TextureInfo&) = default;
};

// The record's bytes in file order: X, Y, Page (16-bit little-endian),
// FlipX, Width, FlipY, Height. Never fails.
TextureInfo DecodeTextureInfo(const TextInfoRecord& record);

// A point on a texture page in pixels: (0, 0) is the page's top-left corner,
// (256, 256) its bottom-right.
struct TexturePoint {
  double x = 0, y = 0;
  friend bool operator==(const TexturePoint&, const TexturePoint&) = default;
};

// Where the corners of one face lie on one texture page.
struct FaceTexture {
  std::size_t page = 0;
  std::vector<TexturePoint> corners;  // one per face vertex, in the face's order
  friend bool operator==(const FaceTexture&, const FaceTexture&) = default;
};

// The smallest rectangle holding a texture's corners, in page pixels.
struct CornerBounds {
  double left = 0, top = 0, right = 0, bottom = 0;
};

// The rectangle `texture`'s corners span; all zero when it has none. Pure.
CornerBounds CornerBoundsOf(const FaceTexture& texture);

// The texture of a face, from its Texture word.
//
// A quad's word names a texture-info record, a negative word -i naming
// record i mirrored left to right. Corners 0 to 3 take the rectangle's
// top-left, top-right, bottom-right and bottom-left (or the mirror of that).
//
// A triangle takes three corners of its rectangle: the low 13 bits of its
// word name the record, bits 13 and 14 the rectangle corner c (0 top-left,
// 1 top-right, 2 bottom-right, 3 bottom-left) that its corner 0 takes, and
// bit 15 mirrors the rectangle left to right. Its corner 1 takes the
// rectangle corner after c going round clockwise, its corner 2 the one
// before c, so the corner opposite c is left out. Public descriptions do not
// give these bits; they were read from real WADs, where they make the
// textures of triangles run on into the quads beside them.
//
// Returns nothing, and the face is drawn flat, when: the face is neither a
// quad nor a triangle, the record is outside `infos`, or its page is not
// below `pageCount`.
std::optional<FaceTexture> FaceTextureOf(const MeshFace& face, const RecordArray<TextInfoRecord>& infos,
                                         std::size_t pageCount);

// The texture-info record that a face's Texture word names, read as
// FaceTextureOf reads it; nothing for a face that is neither a quad nor a
// triangle. The record may lie outside the WAD's records.
std::optional<std::size_t> TextureInfoIndex(std::int16_t faceType, std::int16_t texture);

}  // namespace tarnlow
