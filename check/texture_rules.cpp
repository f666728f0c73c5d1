#include "check/rules.h"
#include "mesh/face_textures.h"

namespace tarnlow {

// The layout is the one four of the five real WADs we tried fit exactly
// (every page inside the texture data, every square inside its page).
void CheckTextureInfo(CheckContext& context) {
  const WadDocument& doc = context.doc();
  const std::size_t pages = (doc.TextData.size() + 255) / 256;
  for (std::size_t i = 0; i < doc.TextInfo.size(); ++i) {
    const TextureInfo info = DecodeTextureInfo(doc.TextInfo[i]);
    const auto record = static_cast<std::int64_t>(i);
    if (info.Page >= pages) {
      context.add(Severity::Error, "texture-page-missing", "TextInfo", record,
                  "texture page " + std::to_string(info.Page) + " does not exist; the texture data holds " +
                      std::to_string(pages) + " pages",
                  "TextData page " + std::to_string(info.Page));
    } else if (info.X + info.Width > 255 || info.Y + info.Height > 255) {
      context
          .add(Severity::Error, "texture-square-outside", "TextInfo", record,
               "its square at " + std::to_string(info.X) + ", " + std::to_string(info.Y) + " of " +
                   std::to_string(info.Width + 1) + " x " + std::to_string(info.Height + 1) +
                   " pixels leaves its 256 x 256 page",
               "TextData page " + std::to_string(info.Page))
          .page = info.Page;
    }
  }
}

}  // namespace tarnlow
