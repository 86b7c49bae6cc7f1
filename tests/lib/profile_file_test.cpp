#include "lib/profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace {

using lib::ProfileFile;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;
using Names = std::vector<std::string>;

// Sets (or, with nullptr, removes) an environment variable for one test.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    set(value);
  }
  ~ScopedEnv() { set(old_ ? old_->c_str() : nullptr); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void set(const char* value) {
    if (value) {
      ::setenv(name_, value, 1);
    } else {
      ::unsetenv(name_);
    }
  }
  const char* name_;
  std::optional<std::string> old_;
};

unsigned modeOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return 0;
  return st.st_mode & 07777;
}

ino_t inodeOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return 0;
  return st.st_ino;
}

size_t entriesIn(const std::string& folder) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

// Runs `body` where folder permissions apply: as root, in a child that gives up root first.
// True when `body` returned true.
template <class Body>
bool whereFolderPermissionsApply(Body body) {
  if (::geteuid() != 0) return body();
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    ::_exit(body() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class ProfileTest : public ::testing::Test {
 protected:
  std::string write(const std::string& bytes) {
    writeFile(path_, bytes);
    return path_;
  }
  std::string contents() const { return readFile(path_); }

  TempDir dir_;
  std::string path_ = dir_.file("SALTMERE.INI");
  ProfileFile ini_{path_};
};

// ---- Reading ------------------------------------------------------------------------------

using ProfileRead = ProfileTest;

TEST_F(ProfileRead, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(ini_.getString("Caja", "Puerto", "COM1"), "COM1");
  EXPECT_EQ(ini_.getString("Caja", "Puerto"), "");
  EXPECT_EQ(ini_.getInt("Caja", "Puerto", 7), 7);
  EXPECT_TRUE(ini_.sections().empty());
  EXPECT_TRUE(ini_.keys("Caja").empty());
  EXPECT_FALSE(std::filesystem::exists(path_));  // reading creates nothing

  write("[Caja]\r\nPuerto=COM2\r\n");
  EXPECT_EQ(ini_.getString("Otra", "Puerto", "x"), "x");
  EXPECT_EQ(ini_.getString("Caja", "Velocidad", "9600"), "9600");
  EXPECT_EQ(ini_.getString("Caja", "Puerto", "x"), "COM2");
}

TEST_F(ProfileRead, DefaultLosesItsTrailingBlanksAndAnEmptyValueIsNotMissing) {
  write("[Caja]\nVacia=\nBlancos=   \n");
  EXPECT_EQ(ini_.getString("Caja", "Nada", "  abc  "), "  abc");
  EXPECT_EQ(ini_.getString("Caja", "Vacia", "def"), "");
  EXPECT_EQ(ini_.getString("Caja", "Blancos", "def"), "");
  EXPECT_EQ(ini_.keys("Caja"), (Names{"Vacia", "Blancos"}));
}

TEST_F(ProfileRead, NamesCompareWithoutRegardToCase) {
  write(
      "[Caja Principal]\r\n"
      "Puerto=COM1\r\n"
      "[A\xD1O]\r\n"  // Windows-1252
      "D\xCD"
      "A=1252\r\n"
      "\x8A"
      "x=s\r\n"
      "[A\xC3\x91O UTF]\r\n"  // UTF-8
      "D\xC3\x8D"
      "A=utf8\r\n"
      "\xC5\x81\xC3\x93"
      "D\xC5\xBB=lodz\r\n");
  EXPECT_EQ(ini_.getString("CAJA PRINCIPAL", "puerto"), "COM1");
  EXPECT_EQ(ini_.getString("caja principal", "PUERTO"), "COM1");
  EXPECT_EQ(ini_.getString("a\xF1o",
                           "d\xED"
                           "a"),
            "1252");
  EXPECT_EQ(ini_.getString("A\xD1O",
                           "\x9A"
                           "X"),
            "s");
  EXPECT_EQ(ini_.getString("a\xC3\xB1o utf",
                           "d\xC3\xAD"
                           "a"),
            "utf8");
  EXPECT_EQ(ini_.getString("A\xC3\x91O UTF",
                           "\xC5\x82\xC3\xB3"
                           "d\xC5\xBC"),
            "lodz");
  // Different encodings of one letter are different bytes, not the same name.
  EXPECT_EQ(ini_.getString("a\xC3\xB1o",
                           "d\xC3\xAD"
                           "a",
                           "none"),
            "none");
}

TEST_F(ProfileRead, BlanksAroundNamesAndValuesAreIgnored) {
  write("  [  Caja  ]  \n\t Puerto \t=\t COM1 \t\n Ruta =C:\\SALT MERE\\ \n");
  EXPECT_EQ(ini_.sections(), (Names{"Caja"}));
  EXPECT_EQ(ini_.getString("Caja", "Puerto"), "COM1");
  EXPECT_EQ(ini_.getString("  caja ", " puerto "), "COM1");
  EXPECT_EQ(ini_.getString("Caja", "Ruta"), "C:\\SALT MERE\\");
}

TEST_F(ProfileRead, OnePairOfMatchingQuotesIsRemoved) {
  write(
      "[Q]\n"
      "Doble=\"  con blancos  \"\n"
      "Simple='x'\n"
      "Anidadas=\"\"dos\"\"\n"
      "Abierta=\"abc\n"
      "Distintas=\"abc'\n"
      "Sola=\"\n"
      "Dentro=a\"b\"c\n"
      "VaciaEntreComillas=\"\"\n");
  EXPECT_EQ(ini_.getString("Q", "Doble"), "  con blancos  ");
  EXPECT_EQ(ini_.getString("Q", "Simple"), "x");
  EXPECT_EQ(ini_.getString("Q", "Anidadas"), "\"dos\"");
  EXPECT_EQ(ini_.getString("Q", "Abierta"), "\"abc");
  EXPECT_EQ(ini_.getString("Q", "Distintas"), "\"abc'");
  EXPECT_EQ(ini_.getString("Q", "Sola"), "\"");
  EXPECT_EQ(ini_.getString("Q", "Dentro"), "a\"b\"c");
  EXPECT_EQ(ini_.getString("Q", "VaciaEntreComillas", "def"), "");
}

TEST_F(ProfileRead, TheValueRunsToTheEndOfTheLine) {
  write("[S]\nRuta=C:\\DATOS ; no es un comentario\nFormula=a=b=c\nConCorchete=[x]\n");
  EXPECT_EQ(ini_.getString("S", "Ruta"), "C:\\DATOS ; no es un comentario");
  EXPECT_EQ(ini_.getString("S", "Formula"), "a=b=c");  // the key ends at the first '='
  EXPECT_EQ(ini_.getString("S", "ConCorchete"), "[x]");
}

TEST_F(ProfileRead, CommentsLinesWithoutEqualsAndKeysBeforeAnySectionAreNotKeys) {
  write(
      "Suelta=1\n"
      "; cabecera\n"
      "[S]\n"
      ";Comentada=2\n"
      "  ; Sangrada=3\n"
      "texto sin igual\n"
      "=sin clave\n"
      "Real=4\n");
  EXPECT_EQ(ini_.getString("", "Suelta", "no"), "no");
  EXPECT_EQ(ini_.getString("S", "Suelta", "no"), "no");
  EXPECT_EQ(ini_.getString("S", ";Comentada", "no"), "no");
  EXPECT_EQ(ini_.getString("S", "Comentada", "no"), "no");
  EXPECT_EQ(ini_.getString("S", "texto sin igual", "no"), "no");
  EXPECT_EQ(ini_.getString("S", "", "no"), "no");
  EXPECT_EQ(ini_.keys("S"), (Names{"Real"}));
  EXPECT_EQ(ini_.sections(), (Names{"S"}));
}

TEST_F(ProfileRead, TheFirstOfDuplicateSectionsAndKeysWins) {
  write("[S]\nA=1\nA=2\na=3\n[Otra]\nX=x\n[s]\nA=4\nB=5\n");
  EXPECT_EQ(ini_.getString("S", "A"), "1");
  EXPECT_EQ(ini_.getString("S", "B", "def"), "def");  // only in the hidden duplicate
  EXPECT_EQ(ini_.sections(), (Names{"S", "Otra"}));
  EXPECT_EQ(ini_.keys("s"), (Names{"A"}));
}

TEST_F(ProfileRead, SectionHeaders) {
  write("[S]\n[Rota\nA=1\n[a]b] resto\nB=2\n[]\nC=3\n");
  EXPECT_EQ(ini_.getString("S", "A"), "1");  // '[' without ']' does not end [S]
  EXPECT_EQ(ini_.getString("S", "[Rota", "def"), "def");
  EXPECT_EQ(ini_.getString("a]b", "B"), "2");  // the name ends at the last ']'
  EXPECT_EQ(ini_.getString("", "C"), "3");
  EXPECT_EQ(ini_.sections(), (Names{"S", "a]b", ""}));
}

TEST_F(ProfileRead, LineEndingsSignatureAndBytes) {
  write("\xEF\xBB\xBF[S]\r\nA=1\r\nB=2\nC=Jos\xE9 P\xE9rez\r\r\nE=sin final");
  EXPECT_EQ(ini_.getString("S", "A"), "1");
  EXPECT_EQ(ini_.getString("S", "B"), "2");
  EXPECT_EQ(ini_.getString("S", "C"), "Jos\xE9 P\xE9rez");
  EXPECT_EQ(ini_.getString("S", "E"), "sin final");
  EXPECT_EQ(ini_.sections(), (Names{"S"}));
}

TEST_F(ProfileRead, NulBytesAreKept) {
  write(std::string("[S]\nD=x\0y\n", 11));
  EXPECT_EQ(ini_.getString("S", "D"), std::string("x\0y", 3));
}

TEST_F(ProfileRead, TheFileIsReadAgainAtEachCall) {
  write("[S]\nA=1\n");
  EXPECT_EQ(ini_.getString("S", "A"), "1");
  write("[S]\nA=2\n");
  EXPECT_EQ(ini_.getString("S", "A"), "2");
  std::filesystem::remove(path_);
  EXPECT_EQ(ini_.getString("S", "A", "gone"), "gone");
}

TEST_F(ProfileRead, NotAFileReadsAsMissing) {
  std::filesystem::create_directory(path_);
  EXPECT_EQ(ini_.getString("S", "A", "def"), "def");
  EXPECT_FALSE(ini_.writeString("S", "A", "1"));
  EXPECT_TRUE(std::filesystem::is_directory(path_));
}

TEST_F(ProfileRead, OnlyTheFirstMebibyteIsReadAndSuchAFileIsNeverRewritten) {
  std::string big = "[S]\nA=1\n" + std::string(size_t{1} << 20, ';') + "\nB=2\n";
  write(big);
  EXPECT_EQ(ini_.getString("S", "A"), "1");
  EXPECT_EQ(ini_.getString("S", "B", "beyond"), "beyond");
  EXPECT_FALSE(ini_.writeString("S", "A", "9"));
  EXPECT_FALSE(ini_.deleteKey("S", "A"));
  EXPECT_EQ(contents(), big);
}

// ---- Numbers ------------------------------------------------------------------------------

using ProfileInt = ProfileTest;

TEST_F(ProfileInt, LeadingDecimalNumber) {
  write(
      "[N]\n"
      "Doce=12\nDoceAbc=12abc\nAbc=abc\nMenos=-5\nMas=+7\nCero=0\nComillas=\"42\"\nBlancos=  8  \n"
      "Hex=0x10\nSoloSigno=-\nSignoYBlanco=- 5\nDecimal=3.9\nVacia=\n"
      "Grande=99999999999\nMuyNegativo=-99999999999\nMinimo=-2147483648\n");
  EXPECT_EQ(ini_.getInt("N", "Doce", -1), 12);
  EXPECT_EQ(ini_.getInt("N", "DoceAbc", -1), 12);
  EXPECT_EQ(ini_.getInt("N", "Abc", -1), 0);
  EXPECT_EQ(ini_.getInt("N", "Menos", -1), -5);
  EXPECT_EQ(ini_.getInt("N", "Mas", -1), 7);
  EXPECT_EQ(ini_.getInt("N", "Cero", -1), 0);
  EXPECT_EQ(ini_.getInt("N", "Comillas", -1), 42);
  EXPECT_EQ(ini_.getInt("N", "Blancos", -1), 8);
  EXPECT_EQ(ini_.getInt("N", "Hex", -1), 0);
  EXPECT_EQ(ini_.getInt("N", "SoloSigno", -1), 0);
  EXPECT_EQ(ini_.getInt("N", "SignoYBlanco", -1), 0);
  EXPECT_EQ(ini_.getInt("N", "Decimal", -1), 3);
  EXPECT_EQ(ini_.getInt("N", "Grande", -1), INT_MAX);
  EXPECT_EQ(ini_.getInt("N", "MuyNegativo", -1), INT_MIN);
  EXPECT_EQ(ini_.getInt("N", "Minimo", -1), INT_MIN);
}

TEST_F(ProfileInt, MissingOrEmptyGivesTheDefault) {
  write("[N]\nVacia=\nComillasVacias=\"\"\n");
  EXPECT_EQ(ini_.getInt("N", "Falta", 33), 33);
  EXPECT_EQ(ini_.getInt("Falta", "Falta", -2), -2);
  EXPECT_EQ(ini_.getInt("N", "Vacia", 44), 44);
  EXPECT_EQ(ini_.getInt("N", "ComillasVacias", 55), 55);
  EXPECT_EQ(ini_.getInt("N", "Falta"), 0);
}

// ---- Writing ------------------------------------------------------------------------------

using ProfileWrite = ProfileTest;

TEST_F(ProfileWrite, ANewFileUsesCrLf) {
  ASSERT_TRUE(ini_.writeString("Caja", "Puerto", "COM1"));
  EXPECT_EQ(contents(), "[Caja]\r\nPuerto=COM1\r\n");
  ASSERT_TRUE(ini_.writeString("Caja", "Velocidad", "9600"));
  ASSERT_TRUE(ini_.writeString("Impresora", "Nombre", "Epson TM"));
  EXPECT_EQ(contents(), "[Caja]\r\nPuerto=COM1\r\nVelocidad=9600\r\n[Impresora]\r\nNombre=Epson TM\r\n");
  EXPECT_EQ(ini_.getString("impresora", "nombre"), "Epson TM");
}

TEST_F(ProfileWrite, NamesAreWrittenTrimmedAndValuesAsGiven) {
  ASSERT_TRUE(ini_.writeString("  Caja ", " Puerto\t", "  COM1 ; sin recortar"));
  EXPECT_EQ(contents(), "[Caja]\r\nPuerto=  COM1 ; sin recortar\r\n");
  EXPECT_EQ(ini_.getString("Caja", "Puerto"), "COM1 ; sin recortar");
}

TEST_F(ProfileWrite, ReplacesTheValueInPlaceKeepingEverythingElse) {
  const std::string before =
      "; Configuraci\xF3n del puesto\n"
      "\n"
      "[Caja]\n"
      "  PUERTO = COM1   \n"
      "; velocidad en baudios\n"
      "Velocidad=9600\n"
      "\n"
      "[Impresora]\n"
      "Nombre=Epson\n";
  write(before);
  ASSERT_TRUE(ini_.writeString("caja", "puerto", "COM3"));
  EXPECT_EQ(contents(),
            "; Configuraci\xF3n del puesto\n"
            "\n"
            "[Caja]\n"
            "  PUERTO = COM3\n"
            "; velocidad en baudios\n"
            "Velocidad=9600\n"
            "\n"
            "[Impresora]\n"
            "Nombre=Epson\n");
  ASSERT_TRUE(ini_.writeString("Caja", "Velocidad", ""));
  ASSERT_TRUE(ini_.writeString("Caja", "Puerto", ""));
  EXPECT_EQ(contents(),
            "; Configuraci\xF3n del puesto\n"
            "\n"
            "[Caja]\n"
            "  PUERTO =\n"
            "; velocidad en baudios\n"
            "Velocidad=\n"
            "\n"
            "[Impresora]\n"
            "Nombre=Epson\n");
  EXPECT_EQ(ini_.getString("Caja", "Puerto", "def"), "");
}

// A value of blanks only (a code "none" padded to its width) is the value: writing it again
// and again leaves it as written once, and a value written over it replaces the blanks.
TEST_F(ProfileWrite, AValueOfBlanksIsReplacedWhole) {
  ASSERT_TRUE(ini_.writeString("S", "EST", "    "));
  ASSERT_TRUE(ini_.writeString("S", "EST", "    "));
  ASSERT_TRUE(ini_.writeString("S", "EST", "    "));
  EXPECT_EQ(contents(), "[S]\r\nEST=    \r\n");
  ASSERT_TRUE(ini_.writeString("S", "EST", "BAR"));
  EXPECT_EQ(contents(), "[S]\r\nEST=BAR\r\n");
}

TEST_F(ProfileWrite, KeepsEachLinesEnding) {
  write("[S]\r\nA=1\nB=2\r\nC=3");
  ASSERT_TRUE(ini_.writeString("S", "A", "10"));
  ASSERT_TRUE(ini_.writeString("S", "B", "20"));
  ASSERT_TRUE(ini_.writeString("S", "C", "30"));
  EXPECT_EQ(contents(), "[S]\r\nA=10\nB=20\r\nC=30");
}

TEST_F(ProfileWrite, ANewKeyGoesAfterTheSectionsLastEntry) {
  write(
      "[Caja]\n"
      "Puerto=COM1\n"
      "; nota\n"
      "otra linea\n"
      "\n"
      "; Impresora del bar\n"
      "[Impresora]\n"
      "Nombre=Epson\n");
  ASSERT_TRUE(ini_.writeString("CAJA", "Velocidad", "9600"));
  EXPECT_EQ(contents(),
            "[Caja]\n"
            "Puerto=COM1\n"
            "; nota\n"
            "otra linea\n"
            "Velocidad=9600\n"
            "\n"
            "; Impresora del bar\n"
            "[Impresora]\n"
            "Nombre=Epson\n");
}

TEST_F(ProfileWrite, ANewKeyInAnEmptySectionGoesRightAfterItsHeader) {
  write("[Vacia]\n\n; siguiente\n[Otra]\nX=1\n");
  ASSERT_TRUE(ini_.writeString("Vacia", "A", "1"));
  EXPECT_EQ(contents(), "[Vacia]\nA=1\n\n; siguiente\n[Otra]\nX=1\n");
}

TEST_F(ProfileWrite, ALastLineWithoutEndingGetsTheFilesEnding) {
  write("[S]\r\nA=1");
  ASSERT_TRUE(ini_.writeString("S", "B", "2"));
  EXPECT_EQ(contents(), "[S]\r\nA=1\r\nB=2\r\n");

  write("[S]\nA=1");
  ASSERT_TRUE(ini_.writeString("T", "B", "2"));
  EXPECT_EQ(contents(), "[S]\nA=1\n[T]\nB=2\n");

  write("; solo un comentario");
  ASSERT_TRUE(ini_.writeString("T", "B", "2"));
  EXPECT_EQ(contents(), "; solo un comentario\r\n[T]\r\nB=2\r\n");
}

TEST_F(ProfileWrite, ANewSectionGoesAtTheEnd) {
  write("[A]\nX=1\n\n; fin\n");
  ASSERT_TRUE(ini_.writeString("B", "Y", "2"));
  EXPECT_EQ(contents(), "[A]\nX=1\n\n; fin\n[B]\nY=2\n");
}

TEST_F(ProfileWrite, KeysBeforeAnySectionAreLeftAlone) {
  write("Suelta=1\n[S]\n");
  ASSERT_TRUE(ini_.writeString("S", "Suelta", "2"));
  EXPECT_EQ(contents(), "Suelta=1\n[S]\nSuelta=2\n");
}

TEST_F(ProfileWrite, TheFirstOfDuplicatesIsTheOneReplaced) {
  write("[S]\nA=1\nA=2\n[S]\nA=3\nB=4\n");
  ASSERT_TRUE(ini_.writeString("s", "a", "9"));
  ASSERT_TRUE(ini_.writeString("S", "B", "8"));
  EXPECT_EQ(contents(), "[S]\nA=9\nA=2\nB=8\n[S]\nA=3\nB=4\n");
  EXPECT_EQ(ini_.getString("S", "B"), "8");
}

TEST_F(ProfileWrite, KeepsTheSignatureAndOtherBytes) {
  write("\xEF\xBB\xBF[S]\r\nNombre=Jos\xE9\r\nX=\x01\x02\r\n");
  ASSERT_TRUE(ini_.writeString("S", "Nombre", "Jos\xC3\xA9"));
  EXPECT_EQ(contents(), "\xEF\xBB\xBF[S]\r\nNombre=Jos\xC3\xA9\r\nX=\x01\x02\r\n");
}

TEST_F(ProfileWrite, RefusesWhatWouldNotReadBackAsWritten) {
  write("[S]\nA=1\n");
  EXPECT_FALSE(ini_.writeString("S", "A", "dos\nlineas"));
  EXPECT_FALSE(ini_.writeString("S", "A", "retorno\r"));
  EXPECT_FALSE(ini_.writeString("S", "A", std::string("nul\0", 4)));
  EXPECT_FALSE(ini_.writeString("S\n[T]", "A", "1"));
  EXPECT_FALSE(ini_.writeString("S", "", "1"));
  EXPECT_FALSE(ini_.writeString("S", "  ", "1"));
  EXPECT_FALSE(ini_.writeString("S", "a=b", "1"));
  EXPECT_FALSE(ini_.writeString("S", ";x", "1"));
  EXPECT_FALSE(ini_.writeString("S", "[x]", "1"));
  EXPECT_EQ(contents(), "[S]\nA=1\n");
  std::filesystem::remove(path_);
  EXPECT_FALSE(ini_.writeString("S", "", "1"));
  EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(ProfileWrite, WritingTheSameValueLeavesTheFileAlone) {
  write("[S]\nA=1\n");
  const ino_t before = inodeOf(path_);
  ASSERT_TRUE(ini_.writeString("S", "A", "1"));
  EXPECT_EQ(inodeOf(path_), before);
  ASSERT_TRUE(ini_.writeString("S", "A", "2"));
  EXPECT_NE(inodeOf(path_), before);  // replaced whole, never rewritten in place
}

TEST_F(ProfileWrite, KeepsPermissionsAndLeavesNoTemporaryFiles) {
  write("[S]\nA=1\n");
  ASSERT_EQ(::chmod(path_.c_str(), 0640), 0);
  ASSERT_TRUE(ini_.writeString("S", "A", "2"));
  ASSERT_TRUE(ini_.deleteKey("S", "A"));
  EXPECT_EQ(modeOf(path_), 0640u);
  EXPECT_EQ(entriesIn(dir_.path()), 1u);

  const mode_t mask = ::umask(027);
  ProfileFile fresh(dir_.file("NUEVO.INI"));
  const bool written = fresh.writeString("S", "A", "1");
  ::umask(mask);
  ASSERT_TRUE(written);
  EXPECT_EQ(modeOf(fresh.path()), 0640u);
}

TEST_F(ProfileWrite, ThroughASymbolicLinkTheTargetChanges) {
  const std::string real = dir_.file("real.ini");
  writeFile(real, "[S]\nA=1\n");
  std::filesystem::create_symlink(real, path_);
  ASSERT_TRUE(ini_.writeString("S", "A", "2"));
  EXPECT_TRUE(std::filesystem::is_symlink(path_));
  EXPECT_EQ(readFile(real), "[S]\nA=2\n");
}

TEST_F(ProfileWrite, AReadOnlyProfileIsNotWritten) {
  write("[S]\nA=1\n");
  ASSERT_EQ(::chmod(path_.c_str(), 0444), 0);
  EXPECT_FALSE(ini_.writeString("S", "A", "2"));
  EXPECT_FALSE(ini_.deleteSection("S"));
  EXPECT_EQ(contents(), "[S]\nA=1\n");
  EXPECT_EQ(modeOf(path_), 0444u);
}

TEST_F(ProfileWrite, AnUnwritableFolderGivesFalseAndChangesNothing) {
  const std::string folder = dir_.file("ro");
  const std::string file = folder + "/SALTMERE.INI";
  std::filesystem::create_directory(folder);
  writeFile(file, "[S]\r\nA=1\r\n");
  // Readable by anybody and the file itself writable: only the folder stands in the way.
  ASSERT_EQ(::chmod(dir_.path().c_str(), 0755), 0);
  ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  const bool refused = whereFolderPermissionsApply([&] {
    ProfileFile ini(file);
    return ini.getString("S", "A") == "1" && !ini.writeString("S", "A", "2") && !ini.writeString("T", "B", "1") &&
           !ini.deleteKey("S", "A") && !ini.deleteSection("S");
  });
  ::chmod(folder.c_str(), 0755);
  EXPECT_TRUE(refused);
  EXPECT_EQ(readFile(file), "[S]\r\nA=1\r\n");
  EXPECT_EQ(entriesIn(folder), 1u);

  ProfileFile nowhere(dir_.file("SALTMERE.INI/dentro.ini"));  // its "folder" is a file
  write("[S]\n");
  EXPECT_FALSE(nowhere.writeString("S", "A", "1"));
  ProfileFile missingFolder(dir_.file("no/existe.ini"));
  EXPECT_FALSE(missingFolder.writeString("S", "A", "1"));
  EXPECT_EQ(contents(), "[S]\n");
}

TEST_F(ProfileWrite, ConcurrentWritersDoNotLoseEachOthersChanges) {
  constexpr int kPerWriter = 25;
  auto writer = [this](const char* key) {
    ProfileFile ini(path_);
    for (int i = 0; i < kPerWriter; ++i) ini.writeString("S", key + std::to_string(i), std::to_string(i));
  };
  std::thread a(writer, "A");
  std::thread b(writer, "B");
  a.join();
  b.join();
  EXPECT_EQ(ini_.keys("S").size(), 2u * kPerWriter);
  EXPECT_EQ(ini_.getInt("S", "B24", -1), 24);
}

// ---- Deleting -----------------------------------------------------------------------------

using ProfileDelete = ProfileTest;

TEST_F(ProfileDelete, AKeyLosesItsLinesAndNothingElseChanges) {
  write("; cabecera\r\n[S]\r\nA=1\r\n; nota\r\nb=2\r\nB=3\r\n\r\n[T]\r\nB=4\r\n");
  ASSERT_TRUE(ini_.deleteKey("s", "B"));
  EXPECT_EQ(contents(), "; cabecera\r\n[S]\r\nA=1\r\n; nota\r\n\r\n[T]\r\nB=4\r\n");
  EXPECT_EQ(ini_.getString("S", "B", "gone"), "gone");
  EXPECT_EQ(ini_.getString("T", "B"), "4");
}

TEST_F(ProfileDelete, NothingToDeleteIsSuccessAndTouchesNothing) {
  EXPECT_TRUE(ini_.deleteKey("S", "A"));
  EXPECT_TRUE(ini_.deleteSection("S"));
  EXPECT_FALSE(std::filesystem::exists(path_));

  write("[S]\nA=1\n");
  const ino_t before = inodeOf(path_);
  EXPECT_TRUE(ini_.deleteKey("S", "Z"));
  EXPECT_TRUE(ini_.deleteKey("Z", "A"));
  EXPECT_TRUE(ini_.deleteSection("Z"));
  EXPECT_EQ(inodeOf(path_), before);
  EXPECT_EQ(contents(), "[S]\nA=1\n");
}

TEST_F(ProfileDelete, ASectionGoesWithAllItsLinesAndItsDuplicates) {
  write(
      "[A]\nX=1\n\n"
      "[Borrar]\nY=2\n; comentario\n\n"
      "[B]\nZ=3\n"
      "[borrar]\nW=4\n");
  ASSERT_TRUE(ini_.deleteSection("BORRAR"));
  EXPECT_EQ(contents(), "[A]\nX=1\n\n[B]\nZ=3\n");
  EXPECT_EQ(ini_.sections(), (Names{"A", "B"}));
  EXPECT_EQ(ini_.getString("Borrar", "W", "gone"), "gone");
}

TEST_F(ProfileDelete, TheLastSectionWithoutFinalLineEnding) {
  write("[A]\r\nX=1\r\n[B]\r\nY=2");
  ASSERT_TRUE(ini_.deleteSection("B"));
  EXPECT_EQ(contents(), "[A]\r\nX=1\r\n");
  ASSERT_TRUE(ini_.deleteSection("A"));
  EXPECT_EQ(contents(), "");
  EXPECT_TRUE(ini_.sections().empty());
  ASSERT_TRUE(ini_.writeString("C", "Z", "1"));
  EXPECT_EQ(contents(), "[C]\r\nZ=1\r\n");
}

TEST_F(ProfileDelete, KeepsTheSignature) {
  write("\xEF\xBB\xBF[A]\nX=1\n");
  ASSERT_TRUE(ini_.deleteSection("A"));
  EXPECT_EQ(contents(), "\xEF\xBB\xBF");
}

// ---- Where the files live -----------------------------------------------------------------

TEST(ProfileFolder, WindirThenXdgConfigHomeThenHome) {
  {
    ScopedEnv windir("CONFIGURA_WINDIR", "/srv/hotel/windows");
    ScopedEnv xdg("XDG_CONFIG_HOME", "/home/recepcion/.cfg");
    EXPECT_EQ(lib::profileFolder(), "/srv/hotel/windows");
    EXPECT_EQ(lib::profilePath("SALTMERE.INI"), "/srv/hotel/windows/SALTMERE.INI");
  }
  {
    ScopedEnv windir("CONFIGURA_WINDIR", nullptr);
    ScopedEnv xdg("XDG_CONFIG_HOME", "/home/recepcion/.cfg");
    EXPECT_EQ(lib::profileFolder(), "/home/recepcion/.cfg");
    EXPECT_EQ(lib::profilePath("SALTMERE.INI"), "/home/recepcion/.cfg/SALTMERE.INI");
  }
  {
    ScopedEnv windir("CONFIGURA_WINDIR", "");
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", "/home/recepcion");
    EXPECT_EQ(lib::profileFolder(), "/home/recepcion/.config");
  }
  {
    ScopedEnv windir("CONFIGURA_WINDIR", nullptr);
    ScopedEnv xdg("XDG_CONFIG_HOME", "relativa/no/vale");
    ScopedEnv home("HOME", "/home/recepcion/");
    EXPECT_EQ(lib::profileFolder(), "/home/recepcion/.config");
  }
}

TEST(ProfileFolder, ANameWithAFolderIsUsedAsGiven) {
  ScopedEnv windir("CONFIGURA_WINDIR", "/srv/hotel/");
  EXPECT_EQ(lib::profilePath("SALTMERE.INI"), "/srv/hotel/SALTMERE.INI");
  EXPECT_EQ(lib::profilePath("/etc/hotel/SALTMERE.INI"), "/etc/hotel/SALTMERE.INI");
  EXPECT_EQ(lib::profilePath("datos/SALTMERE.INI"), "datos/SALTMERE.INI");
  EXPECT_EQ(ProfileFile(lib::profilePath("OTRO.INI")).path(), "/srv/hotel/OTRO.INI");
}

TEST(ProfileFolder, ProfilesResolveIntoTheFolder) {
  TempDir dir;
  ScopedEnv windir("CONFIGURA_WINDIR", dir.path().c_str());
  ProfileFile ini(lib::profilePath("SALTMERE.INI"));
  ASSERT_TRUE(ini.writeString("Puesto", "Nombre", "RECEPCION1"));
  EXPECT_EQ(readFile(dir.file("SALTMERE.INI")), "[Puesto]\r\nNombre=RECEPCION1\r\n");
}

}  // namespace
