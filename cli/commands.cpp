#include "cli/commands.h"

#include <cstring>
#include <string_view>

#include "cli/copy_command.h"
#include "cli/diff_command.h"
#include "cli/look_commands.h"
#include "cli/merge_command.h"
#include "cli/object_commands.h"
#include "cli/objects_command.h"
#include "cli/report_commands.h"
#include "cli/sound_commands.h"

namespace tarnlow::cli {

namespace {

int runHelp(const CommandContext& context) {
  PrintHelp(context.out);
  return kExitOk;
}

// A new command is one line here and the include of its header above.
constexpr Command kCommands[] = {
    {"objects", "objects [--names FILE] [--lenient] WAD",
     "List the WAD's objects by name, each followed by its meshes indented by\n"
     "four spaces: \"Mesh 00\", \"Mesh 01 DUMMY\" (pointer 0), \"Mesh 02 NULL\"\n"
     "(placeholder shape), \"Mesh 03 (unreadable: ...)\" (the reason goes to\n"
     "stderr). Names come from FILE, by default TR4Objects.dat beside this\n"
     "program. An unknown face type prints \"Unknown FaceType - Face N\" on\n"
     "stderr and the listing goes on. --lenient reads a WAD with empty\n"
     "sections or cut short as far as it goes.",
     RunObjects},
    {"copy", "copy [--lenient] IN.wad OUT.wad",
     "Read IN.wad and write it to OUT.wad, byte for byte up to the end of its\n"
     "static meshes. OUT.wad is replaced only when the write succeeds.\n"
     "--lenient also copies a WAD with empty sections, byte for byte; one cut\n"
     "short is written as far as it was read, never over itself.",
     RunCopy},
    {"report", "report [--level 0|1|2] [--format txt|csv|rtf] [--at \"YYYY-MM-DD HH:MM:SS\"] [-o FILE] [--lenient] WAD", "Write the statistics report as the window saves it (default: level 0, txt,\nthe current local time, stdout). --at fixes the date and both times;\n-o FILE is replaced only when the write succeeds. --lenient reports on a\nWAD with empty sections (counted as 0) or cut short.", RunReport},
    {"summary", "summary [--jobs N] PATH...", "One CSV row per WAD (folders searched recursively for *.wad): path,\nstatus (ok; read, with empty sections; read, cut short; or the error),\nversion, file size, the twelve counts, and the sound slots and samples\nof the sound table beside it (empty without one). N files are read at\nonce (default: one per processor); rows come in sorted order.", RunSummary},
    {"dump", "dump WAD", "The whole WAD as JSON: the counts and every record; texture pixels and\nmesh data bytes are given by their amounts only. With a sound table\nbeside the WAD, PlaySounds names each Play Sound by its slot and samples.", RunDump},
    {"textures", "textures WAD -o DIR [--swd]", "Write each 256 x 256 texture page of the WAD (with --swd: of the SWD beside\nit) as DIR/page_000.png, page_001.png, ...; magenta (255, 0, 255) is\ntransparent. The last page may be shorter. DIR is created when missing.", RunTextures},
    {"mesh", "mesh (--object N --mesh J | --pointer K | --static S) WAD -o FILE.obj", "Write one mesh as Wavefront OBJ: Mesh J of object N as the objects command\nnumbers them (both from 0), mesh pointer K, or the mesh of static mesh S.\nN and S are places in the lists (from 0) or slot names (--static ROCK0).\nA DUMMY mesh (pointer 0) writes the mesh at offset 0 and says so on\nstderr; a mesh that cannot be decoded prints the reason and exits with 1.", RunMesh},
    {"check", "check [--format text|json] [--against OLD.wad] [--samples DIR] WAD|FOLDER...",
     "Test every cross-reference of each WAD and weigh what is wrong by what\nthe game uses: error, warning or note, grouped by object, alike findings\nfolded into one line. --against keeps the findings that OLD.wad has not.\nThe sound files beside a WAD are checked too; --samples DIR also finds\nthe samples DIR lacks.\nSeveral WADs or a folder give one summary row per WAD. Exit status 1 when\nthere is an error or a warning, 2 when a WAD cannot be read.",
     RunCheck},
    {"pose", "pose --object N [--anim A] [--frame F] WAD -o FILE.obj", "Write object N (a place from 0, or a slot name) assembled from its\nmeshes, standing in frame F (0 = the first; fractions blend two key\nframes) of its animation A (0 = the object's first), as Wavefront OBJ with\none group per mesh. Without --anim: its first animation, or the rest pose\nwhen it has none. With a sound table beside the WAD, the animation's\nPlay Sounds are printed, named by their slots and samples.", RunPose},
    {"gltf", "gltf (--object N | --static N) WAD -o FILE.gltf|FILE.glb", "Write object N as the game draws it (Lara in LARA_SKIN's meshes) as a glTF\n2.0 scene: one node per mesh in the mesh tree's hierarchy, textured from\none atlas of the texture rectangles its faces use, with every animation\nof the object that can be played (30 frames a second). --static N writes\nstatic mesh N instead; N is a place from 0 or a slot name. .gltf embeds\nthe data in the JSON, .glb is the binary container.", RunGltf},
    {"diff", "diff [--format text|json] OLD.wad NEW.wad",
     "What differs between two WADs (with the SWDs and sound tables beside\n"
     "them) by what the game shows, whatever positions the records hold:\n"
     "objects and statics added, removed and changed, by slot, and for a\n"
     "changed one which parts (meshes, textures, mesh tree, animations, key\n"
     "frames, boxes, sounds) and where they first differ; texture pages,\n"
     "sprites and sprite sequences that differ. Exit status 0 when the two\n"
     "hold the same content, 1 when not.",
     RunDiff},
    {"merge", "merge TARGET.wad --from SOURCE.wad (--object|--static) NAME[=SLOT|=free]... [--from ...] [--replace] [--with-leads] [--sounds target|source] [--samples DIR] [--names FILE] -o OUT.wad",
     "Move objects and statics (by slot name or list position) from each\nSOURCE into a copy of TARGET: into the same slot, another (=SLOT) or the\nfirst free slot of the family (=free). A taken slot is refused unless\n--replace; leads into other objects' animations are refused unless the\ntarget holds them or --with-leads brings them. The result is read back\nand proven by content before OUT's set (.wad, .swd, .sfx, .sam, .was) is\nwritten; nothing is written otherwise.",
     RunMerge},
    {"remove", "remove TARGET.wad (--object|--static) NAME... [--names FILE] -o OUT.wad",
     "Write TARGET without those objects and statics, and without the meshes,\ntexture rectangles and animations only they used, proven likewise.",
     RunRemove},
    {"sounds", "sounds [--format text|json] [--samples DIR] WAD",
     "The sound table of the .sfx and .sam beside the WAD: each defined slot\n"
     "with its samples, volume, range, chance, pitch, loop mode and flags, and\n"
     "the objects and animations that play it. --samples marks each sample\n"
     "that DIR lacks. What is wrong with the sound files goes to stderr.\n"
     "Exit status 1 when there is no .sfx or it cannot be read.",
     RunSounds},
    {"help", "help", "Show this text (also --help or -h).", runHelp},
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

void PrintHelp(std::ostream& out) {
  out << "tarnlow-cli - look into Tomb Raider level-editor object files (WAD)\n"
         "\n"
         "usage: tarnlow-cli COMMAND [ARGUMENTS]\n"
         "\n"
         "Commands:\n";
  for (const Command& c : Commands()) {
    out << "\n  " << c.usage << "\n";
    const char* text = c.summary;
    while (*text != '\0') {
      const char* end = std::strchr(text, '\n');
      const std::size_t length = end ? static_cast<std::size_t>(end - text) : std::strlen(text);
      out << "      " << std::string_view(text, length) << "\n";
      text += length;
      if (*text == '\n') ++text;
    }
  }
  out << "\n"
         "A WAD that cannot be read prints \"ReadWAD -> error code N\" and the reason\n"
         "on stderr. check, diff, dump, gltf, mesh, pose, summary and textures read\n"
         "a WAD with empty sections, or cut short, as far as it goes, and say once on\n"
         "stderr which sections were empty, short or missing (\"note: ...\");\n"
         "objects, report and copy refuse it, as the window does, unless given\n"
         "--lenient.\n"
         "\n"
         "Exit status: 0 done; 1 a file could not be written, the mesh, object,\n"
         "animation or frame asked for does not exist or cannot be decoded, check\n"
         "found a problem, or diff found a difference; 2 the WAD (or with textures\n"
         "--swd or diff, an SWD) could not be read; 64 the command line was wrong.\n";
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::filesystem::path& programFolder, bool errIsTerminal) {
  if (args.empty()) return UsageError(err, "no command given");
  const std::string& name = args[0];
  if (name == "--help" || name == "-h") {
    PrintHelp(out);
    return kExitOk;
  }
  for (const Command& c : Commands()) {
    if (name != c.name) continue;
    const CommandContext context{std::vector<std::string>(args.begin() + 1, args.end()), out, err, programFolder,
                                 errIsTerminal};
    return c.run(context);
  }
  return UsageError(err, "unknown command '" + name + "'");
}

}  // namespace tarnlow::cli
