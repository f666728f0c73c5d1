#include "export/gltf_export.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "anim/animation_graph.h"
#include "anim/drawn_object.h"
#include "anim/pose.h"
#include "anim/skeleton.h"
#include "export/png_file.h"
#include "export/texture_atlas.h"
#include "mesh/mesh_lists.h"
#include "mesh/object_model.h"
#include "mesh/static_meshes.h"
#include "wad/file_paths.h"

namespace tarnlow {

namespace {

using json = nlohmann::json;

constexpr double kUnitsPerMetre = 512;
constexpr double kGameFramesPerSecond = 30;
constexpr int kFloat = 5126;
constexpr int kUnsignedShort = 5123;
constexpr int kUnsignedInt = 5125;
constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;
constexpr int kNearest = 9728;
constexpr int kClampToEdge = 33071;

// The document being written and its one binary buffer.
class Builder {
 public:
  json doc = json::object();
  std::vector<std::uint8_t> bin;

  // Appends `data` as a buffer view, started on a 4-byte boundary so that
  // every accessor in it is aligned. Returns the view's index.
  std::size_t view(const void* data, std::size_t bytes, std::optional<int> target) {
    while (bin.size() % 4 != 0) bin.push_back(0);
    json v = {{"buffer", 0}, {"byteOffset", bin.size()}, {"byteLength", bytes}};
    if (target) v["target"] = *target;
    const auto* from = static_cast<const std::uint8_t*>(data);
    bin.insert(bin.end(), from, from + bytes);
    return push("bufferViews", std::move(v));
  }

  // Floats in groups of `components` as an accessor; with `bounds`, its
  // min and max, written from the stored floats so that they match exactly.
  std::size_t floats(const std::vector<float>& values, int components, std::optional<int> target, bool bounds) {
    static constexpr const char* kTypes[] = {"", "SCALAR", "VEC2", "VEC3", "VEC4"};
    const std::size_t count = values.size() / static_cast<std::size_t>(components);
    json a = {{"bufferView", view(values.data(), values.size() * sizeof(float), target)},
              {"componentType", kFloat},
              {"count", count},
              {"type", kTypes[components]}};
    if (bounds) {
      json low = json::array(), high = json::array();
      for (int c = 0; c < components; ++c) {
        float lo = values[static_cast<std::size_t>(c)], hi = lo;
        for (std::size_t i = static_cast<std::size_t>(c); i < values.size(); i += static_cast<std::size_t>(components)) {
          lo = std::min(lo, values[i]);
          hi = std::max(hi, values[i]);
        }
        low.push_back(static_cast<double>(lo));
        high.push_back(static_cast<double>(hi));
      }
      a["min"] = std::move(low);
      a["max"] = std::move(high);
    }
    return push("accessors", std::move(a));
  }

  std::size_t indices(const std::vector<std::uint32_t>& values, std::uint32_t vertexCount) {
    json a = {{"count", values.size()}, {"type", "SCALAR"}};
    if (vertexCount <= 0xFFFF) {
      std::vector<std::uint16_t> narrow(values.begin(), values.end());
      a["bufferView"] = view(narrow.data(), narrow.size() * 2, kElementArrayBuffer);
      a["componentType"] = kUnsignedShort;
    } else {
      a["bufferView"] = view(values.data(), values.size() * 4, kElementArrayBuffer);
      a["componentType"] = kUnsignedInt;
    }
    return push("accessors", std::move(a));
  }

  std::size_t push(const char* array, json value) {
    json& list = doc[array];
    list.push_back(std::move(value));
    return list.size() - 1;
  }
};

// The faces of one mesh that share a material, as unshared corners: a face
// takes its texture coordinates with it, so corners cannot be shared.
struct Primitive {
  std::vector<float> positions, normals, uvs;
  std::vector<std::uint32_t> indices;
};

// Unit normals, one per vertex, or nothing when the mesh has shades instead
// or a normal of length 0 (glTF takes unit normals only).
std::optional<std::vector<std::array<float, 3>>> unitNormals(const MeshRecord& mesh) {
  if (mesh.Normals.size() != mesh.Vertices.size()) return std::nullopt;
  std::vector<std::array<float, 3>> out;
  for (const MeshVector& n : mesh.Normals) {
    const double length = std::sqrt(double(n.X) * n.X + double(n.Y) * n.Y + double(n.Z) * n.Z);
    if (length == 0) return std::nullopt;
    out.push_back({static_cast<float>(n.X / length), static_cast<float>(n.Y / length), static_cast<float>(n.Z / length)});
  }
  return out;
}

// Splits a mesh's faces into its textured and flat primitives.
std::array<Primitive, 2> primitivesOf(const SceneMesh& scene, const TextureAtlas& atlas) {
  std::array<Primitive, 2> out;  // textured, flat
  const MeshRecord& mesh = scene.mesh;
  const std::optional<std::vector<std::array<float, 3>>> normals = unitNormals(mesh);
  for (std::size_t f = 0; f < mesh.Faces.size(); ++f) {
    const MeshFace& face = mesh.Faces[f];
    const std::size_t n = face.Vertices.size();
    if ((face.FaceType != MeshFace::kTriangle && face.FaceType != MeshFace::kQuad) || n < 3 || n > 4) continue;
    const bool inRange = std::all_of(face.Vertices.begin(), face.Vertices.end(), [&](std::int16_t k) {
      return k >= 0 && static_cast<std::size_t>(k) < mesh.Vertices.size();
    });
    if (!inRange) continue;
    std::array<AtlasUv, 4> uv{};
    bool textured = scene.textures[f].has_value();
    for (std::size_t c = 0; c < n && textured; ++c) {
      const std::optional<AtlasUv> at = AtlasCoordinates(atlas, *scene.textures[f], c);
      textured = at.has_value();
      if (at) uv[c] = *at;
    }
    Primitive& p = out[textured ? 0 : 1];
    const auto base = static_cast<std::uint32_t>(p.positions.size() / 3);
    for (std::size_t c = 0; c < n; ++c) {
      const auto k = static_cast<std::size_t>(face.Vertices[c]);
      const MeshVector& v = mesh.Vertices[k];
      p.positions.insert(p.positions.end(), {float(v.X), float(v.Y), float(v.Z)});
      if (normals) p.normals.insert(p.normals.end(), (*normals)[k].begin(), (*normals)[k].end());
      if (textured) p.uvs.insert(p.uvs.end(), {static_cast<float>(uv[c].u), static_cast<float>(uv[c].v)});
    }
    p.indices.insert(p.indices.end(), {base, base + 1, base + 2});
    if (n == 4) p.indices.insert(p.indices.end(), {base, base + 2, base + 3});
  }
  return out;
}

std::string base64(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::uint32_t b0 = bytes[i];
    const std::uint32_t b1 = i + 1 < bytes.size() ? bytes[i + 1] : 0;
    const std::uint32_t b2 = i + 2 < bytes.size() ? bytes[i + 2] : 0;
    const std::uint32_t triple = (b0 << 16) | (b1 << 8) | b2;
    out += kDigits[(triple >> 18) & 63];
    out += kDigits[(triple >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(triple >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[triple & 63] : '=';
  }
  return out;
}

void appendU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// The binary container: a 12-byte header, the JSON chunk padded with
// spaces and the binary chunk padded with zeros, each to 4 bytes.
std::vector<std::uint8_t> glb(std::string text, std::vector<std::uint8_t> bin) {
  while (text.size() % 4 != 0) text += ' ';
  while (bin.size() % 4 != 0) bin.push_back(0);
  std::vector<std::uint8_t> out;
  appendU32(out, 0x46546C67);  // "glTF"
  appendU32(out, 2);
  appendU32(out, static_cast<std::uint32_t>(12 + 8 + text.size() + (bin.empty() ? 0 : 8 + bin.size())));
  appendU32(out, static_cast<std::uint32_t>(text.size()));
  appendU32(out, 0x4E4F534A);  // "JSON"
  out.insert(out.end(), text.begin(), text.end());
  if (!bin.empty()) {
    appendU32(out, static_cast<std::uint32_t>(bin.size()));
    appendU32(out, 0x004E4942);  // "BIN"
    out.insert(out.end(), bin.begin(), bin.end());
  }
  return out;
}

// One animation's channels: every mesh's rotation and the root's
// translation at each key frame. Nothing, with a note, when a key frame
// cannot be posed.
void addAnimation(Builder& b, const WadDocument& document, const Skeleton& skeleton, const AnimationNode& node,
                  GltfExport& result) {
  const std::size_t bones = skeleton.bones.size();
  std::vector<float> times;
  std::vector<std::vector<float>> rotations(bones);
  std::vector<float> root;
  std::vector<Quaternion> last(bones);
  for (int k = 0; k < node.keyFrameCount; ++k) {
    const int frame = std::min(k * node.frameRate, node.frameCount - 1);
    const auto time = static_cast<float>(frame / kGameFramesPerSecond);
    if (!times.empty() && time <= times.back()) continue;
    // Only the turns go into the file: the mesh tree places the nodes.
    std::variant<LocalPose, Finding> posed = PoseLocally(document, skeleton, node.index, frame);
    if (const auto* problem = std::get_if<Finding>(&posed)) {
      result.notes.push_back("animation " + std::to_string(node.index) + " left out: " + problem->problem);
      return;
    }
    const LocalPose& pose = std::get<LocalPose>(posed);
    times.push_back(time);
    root.insert(root.end(), {float(pose.rootOffset.x), float(pose.rootOffset.y), float(pose.rootOffset.z)});
    for (std::size_t j = 0; j < bones; ++j) {
      Quaternion q = RotationQuaternion(pose.local[j]);
      // The same turn with the other sign would send the blend the long way.
      if (k > 0 && q.x * last[j].x + q.y * last[j].y + q.z * last[j].z + q.w * last[j].w < 0) {
        q = {-q.x, -q.y, -q.z, -q.w};
      }
      last[j] = q;
      rotations[j].insert(rotations[j].end(),
                          {static_cast<float>(q.x), static_cast<float>(q.y), static_cast<float>(q.z), static_cast<float>(q.w)});
    }
  }
  if (times.empty()) return;
  result.keyFramesWritten += times.size();
  const std::size_t input = b.floats(times, 1, std::nullopt, true);
  json samplers = json::array(), channels = json::array();
  const auto channel = [&](std::size_t nodeIndex, const char* path, const std::vector<float>& values, int components) {
    samplers.push_back({{"input", input}, {"output", b.floats(values, components, std::nullopt, false)}, {"interpolation", "LINEAR"}});
    channels.push_back({{"sampler", samplers.size() - 1}, {"target", {{"node", nodeIndex}, {"path", path}}}});
  };
  for (std::size_t j = 0; j < bones; ++j) channel(j, "rotation", rotations[j], 4);
  channel(0, "translation", root, 3);
  b.push("animations", {{"name", "Animation " + std::to_string(node.index)}, {"samplers", samplers}, {"channels", channels}});
}

// The scene of one skeleton and its meshes with `animations`, in the
// container asked for; `result` brings the notes made so far.
GltfExport writeScene(const WadDocument& document, const Skeleton& skeleton, const ObjectModel& model,
                      const std::vector<const AnimationNode*>& animations, GltfContainer container,
                      std::string_view name, GltfExport result) {
  for (const std::string& problem : model.problems) result.notes.push_back(problem + "; its node has no mesh");
  Builder b;
  b.doc["asset"] = {{"version", "2.0"}, {"generator", "Tarnlow"}};

  std::vector<TextureRect> rects;
  for (const std::optional<SceneMesh>& scene : model.meshes) {
    if (!scene) continue;
    for (const std::optional<FaceTexture>& texture : scene->textures) {
      if (texture) rects.push_back(RectOf(*texture));
    }
  }
  const TextureAtlas atlas = MakeTextureAtlas(document.TextData, std::move(rects));
  std::optional<std::size_t> texturedMaterial;
  if (!atlas.rects.empty()) {
    const std::vector<std::uint8_t> png = EncodePng(atlas.width, atlas.height, atlas.rgb);
    b.push("images", {{"bufferView", b.view(png.data(), png.size(), std::nullopt)}, {"mimeType", "image/png"}});
    // Texture pixels stay sharp squares, as the game shows them.
    b.push("samplers", {{"magFilter", kNearest}, {"minFilter", kNearest}, {"wrapS", kClampToEdge}, {"wrapT", kClampToEdge}});
    b.push("textures", {{"sampler", 0}, {"source", 0}});
    texturedMaterial = b.push("materials", {{"name", "textured"},
                                            {"pbrMetallicRoughness", {{"baseColorTexture", {{"index", 0}}},
                                                                      {"metallicFactor", 0.0},
                                                                      {"roughnessFactor", 1.0}}},
                                            {"alphaMode", "MASK"},
                                            {"alphaCutoff", 0.5},
                                            {"doubleSided", true}});
  }
  std::optional<std::size_t> flatMaterial;

  // Nodes 0 to N-1 are the meshes; node N turns and scales the whole.
  const std::size_t bones = skeleton.bones.size();
  json nodes = json::array();
  json topChildren = json::array();
  for (std::size_t j = 0; j < bones; ++j) {
    const Bone& bone = skeleton.bones[j];
    json node = {{"name", MeshLabel(static_cast<std::int64_t>(j))}};
    if (j > 0) node["translation"] = {bone.offset.x, bone.offset.y, bone.offset.z};
    if (model.meshes[j]) {
      json primitives = json::array();
      const std::array<Primitive, 2> parts = primitivesOf(*model.meshes[j], atlas);
      for (std::size_t m = 0; m < parts.size(); ++m) {
        const Primitive& p = parts[m];
        if (p.indices.empty()) continue;
        if (m == 1 && !flatMaterial) {
          flatMaterial = b.push("materials", {{"name", "flat"},
                                              {"pbrMetallicRoughness", {{"baseColorFactor", {0.43, 0.59, 0.82, 1.0}},
                                                                        {"metallicFactor", 0.0},
                                                                        {"roughnessFactor", 1.0}}},
                                              {"doubleSided", true}});
        }
        json attributes = {{"POSITION", b.floats(p.positions, 3, kArrayBuffer, true)}};
        if (!p.normals.empty()) attributes["NORMAL"] = b.floats(p.normals, 3, kArrayBuffer, false);
        if (!p.uvs.empty()) attributes["TEXCOORD_0"] = b.floats(p.uvs, 2, kArrayBuffer, false);
        primitives.push_back({{"attributes", attributes},
                              {"indices", b.indices(p.indices, static_cast<std::uint32_t>(p.positions.size() / 3))},
                              {"material", m == 0 ? *texturedMaterial : *flatMaterial}});
      }
      if (!primitives.empty()) {
        node["mesh"] = b.push("meshes", {{"name", MeshLabel(static_cast<std::int64_t>(j))}, {"primitives", primitives}});
      }
    }
    nodes.push_back(std::move(node));
    if (j == 0 || bone.parent < 0 || static_cast<std::size_t>(bone.parent) >= j) {
      topChildren.push_back(j);
    } else {
      nodes[static_cast<std::size_t>(bone.parent)]["children"].push_back(j);
    }
  }
  // A half turn about X takes the WAD's Y down, Z forward to glTF's Y up.
  const double scale = 1.0 / kUnitsPerMetre;
  nodes.push_back({{"name", std::string(name)}, {"rotation", {1.0, 0.0, 0.0, 0.0}}, {"scale", {scale, scale, scale}},
                   {"children", topChildren}});
  b.doc["nodes"] = std::move(nodes);
  b.doc["scenes"] = json::array({json{{"nodes", json::array({bones})}}});
  b.doc["scene"] = 0;

  for (const AnimationNode* node : animations) addAnimation(b, document, skeleton, *node, result);

  if (!b.bin.empty()) {
    while (b.bin.size() % 4 != 0) b.bin.push_back(0);
    json buffer = {{"byteLength", b.bin.size()}};
    if (container == GltfContainer::Json) buffer["uri"] = "data:application/octet-stream;base64," + base64(b.bin);
    b.doc["buffers"] = json::array({buffer});
  }
  const std::string text = b.doc.dump();
  if (container == GltfContainer::Binary) {
    result.bytes = glb(text, b.bin);
  } else {
    result.bytes.assign(text.begin(), text.end());
  }
  return result;
}

}  // namespace

std::optional<GltfContainer> GltfContainerOf(const std::filesystem::path& path) {
  std::string extension = Utf8FromPath(path.extension());
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (extension == ".gltf") return GltfContainer::Json;
  if (extension == ".glb") return GltfContainer::Binary;
  return std::nullopt;
}

std::variant<GltfExport, Finding> ExportObjectGltf(const WadDocument& document, std::size_t moveableIndex,
                                                   GltfContainer container, std::string_view name) {
  std::variant<DrawnObject, Finding> drawn = DrawObject(document, moveableIndex);
  if (const auto* problem = std::get_if<Finding>(&drawn)) return *problem;
  const DrawnObject& object = std::get<DrawnObject>(drawn);
  GltfExport result;
  std::vector<const AnimationNode*> animations;
  std::vector<std::int64_t> leftOut;
  for (std::size_t i = 0; i < object.graph.animations.size(); ++i) {
    const AnimationNode& node = object.graph.animations[i];
    const std::optional<Finding>& problem = object.animationProblems[i];
    // Key frames that cannot be trusted would fling the meshes about in
    // every viewer; a next animation elsewhere does not matter here.
    if (problem && problem->severity == Severity::Error) {
      result.notes.push_back("animation " + std::to_string(node.index) + " left out: " + problem->problem);
      leftOut.push_back(node.index);
    } else if (node.keyFrameCount <= 0 || node.frameCount <= 0) {
      result.notes.push_back("animation " + std::to_string(node.index) + " left out: it stores no usable frames");
      leftOut.push_back(node.index);
    } else {
      animations.push_back(&node);
    }
  }
  for (const Finding& finding : object.findings) {
    // An animation left out has been told already.
    const bool told = finding.section == "Animations" &&
                      std::find(leftOut.begin(), leftOut.end(), finding.record) != leftOut.end();
    if (!told) result.notes.push_back(FormatFinding(finding));
  }
  return writeScene(document, object.skeleton, object.model, animations, container, name, std::move(result));
}

std::variant<GltfExport, Finding> ExportStaticGltf(const WadDocument& document, std::size_t staticIndex,
                                                   GltfContainer container, std::string_view name) {
  const auto record = static_cast<std::int64_t>(staticIndex);
  if (staticIndex >= document.StaticMeshes.size()) {
    return Finding{Severity::Error, "StaticMeshes", record,
                   "there is no static mesh " + std::to_string(staticIndex) + "; the WAD holds " +
                       std::to_string(document.StaticMeshes.size()),
                   {}};
  }
  const std::int16_t position = ReadStaticMeshEntry(document, staticIndex).Mesh;
  Skeleton skeleton;
  skeleton.bones.push_back(Bone{.meshPointer = position});
  const ObjectModel model = LoadObjectModel(document, {position});
  if (!model.meshes[0]) {
    return Finding{Severity::Error, "StaticMeshes", record, model.problems.empty() ? "" : model.problems[0],
                   "MeshPointers " + std::to_string(position)};
  }
  return writeScene(document, skeleton, model, {}, container, name, GltfExport{});
}

}  // namespace tarnlow
