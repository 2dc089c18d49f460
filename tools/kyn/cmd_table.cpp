// kyn table: sort a CSV file by a column, or find a text in it, through the
// string array.
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "kyn/dstruct.h"
#include "kyn/platform/streams.h"

namespace {

using kyn::cli::U16;
using kyn::cli::U8;

// A CSV file: records of fields (UTF-8).
using Records = std::vector<std::vector<std::string>>;

std::string ReadFileBytes(const std::string& name) {
  kyn::TFileStream f(U16(name), kyn::fmOpenRead);
  std::string bytes(static_cast<size_t>(f.Size()), '\0');
  f.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

// Fields are separated by sep; a field that starts with a double quote runs
// to the closing quote, "" standing for one quote, and may hold separators
// and line breaks. Records end at LF, CR LF or CR; a line break at the end of
// the text does not start another record.
Records ParseCsv(const std::string& text, char sep) {
  Records recs;
  std::vector<std::string> rec;
  std::string field;
  size_t i = 0;
  const size_t n = text.size();
  bool pending = false;  // a record has started
  while (i < n) {
    pending = true;
    if (text[i] == '"' && field.empty()) {
      ++i;
      for (;;) {
        if (i >= n) throw kyn::cli::Failure("unterminated quoted field in record " + std::to_string(recs.size() + 1), 1);
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            field.push_back('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        field.push_back(text[i++]);
      }
      continue;
    }
    const char c = text[i++];
    if (c == sep) {
      rec.push_back(std::move(field));
      field.clear();
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i < n && text[i] == '\n') ++i;
      rec.push_back(std::move(field));
      field.clear();
      recs.push_back(std::move(rec));
      rec.clear();
      pending = false;
    } else {
      field.push_back(c);
    }
  }
  if (pending) {
    rec.push_back(std::move(field));
    recs.push_back(std::move(rec));
  }
  return recs;
}

std::string CsvField(const std::string& f, char sep) {
  if (f.find_first_of(std::string{sep, '"', '\r', '\n'}) == std::string::npos) return f;
  std::string out = "\"";
  for (char c : f) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  return out + "\"";
}

struct Table {
  std::unique_ptr<kyn::TStringArray> array = std::make_unique<kyn::TStringArray>(nullptr);
  std::vector<size_t> fieldCount;  // per record, so ragged rows come back as they were
  int altered = 0;                 // fields that had to be cut or lost characters
};

// Loads the records into a string array: column 0 holds the record number,
// columns 1..n the fields.
Table LoadTable(const std::string& file, char sep) {
  std::string bytes;
  try {
    bytes = ReadFileBytes(file);
  } catch (const kyn::Exception& e) {
    throw kyn::cli::Failure(file + ": " + e.what(), 1);
  }
  const Records recs = ParseCsv(bytes, sep);
  Table t;
  size_t cols = 1;
  for (const auto& r : recs) cols = std::max(cols, r.size());
  if (cols > 100000 || recs.size() > 50000000) throw kyn::cli::Failure(file + ": table too large", 1);
  if (!t.array->Resize(static_cast<int32_t>(cols), static_cast<int32_t>(std::max<size_t>(recs.size(), 1))))
    throw kyn::cli::Failure(file + ": out of memory", 1);
  for (size_t r = 0; r < recs.size(); ++r) {
    const int32_t row = static_cast<int32_t>(r + 1);
    t.array->SetString(0, row, U16(std::to_string(row)));
    t.fieldCount.push_back(recs[r].size());
    for (size_t c = 0; c < recs[r].size(); ++c) {
      const kyn::String text = U16(recs[r][c]);
      t.array->SetString(static_cast<int32_t>(c + 1), row, text);
      if (t.array->GetString(static_cast<int32_t>(c + 1), row) != text) ++t.altered;
    }
  }
  if (t.altered > 0)
    std::cerr << "kyn: warning: " << t.altered
              << " field(s) longer than 255 characters or with characters outside Windows-1252 were altered\n";
  return t;
}

char SeparatorOf(const std::string& s) {
  if (s.size() != 1 || s[0] == '"' || s[0] == '\r' || s[0] == '\n')
    throw kyn::cli::UsageError("--sep must be one character other than a double quote or a line break");
  return s[0];
}

// A progress bar on stderr, redrawn when the percentage changes.
class ProgressBar {
 public:
  void Show(int32_t percent) {
    const int p = std::clamp(percent, 0, 100);
    if (p == last_) return;
    last_ = p;
    const int filled = p * 30 / 100;
    std::cerr << "\rsorting [" << std::string(static_cast<size_t>(filled), '#')
              << std::string(static_cast<size_t>(30 - filled), '.') << "] " << p << "%" << std::flush;
  }
  void Done() {
    if (last_ >= 0) std::cerr << '\n';
  }

 private:
  int last_ = -1;
};

struct SortOptions {
  std::string file, out, sep = ",";
  int col = 0, sec = 0;
  bool desc = false;
};

void RunSort(const SortOptions& o) {
  const char sep = SeparatorOf(o.sep);
  Table t = LoadTable(o.file, sep);
  kyn::TStringArray& a = *t.array;
  const int n = a.NrOfColumns();
  if (o.col < 1 || o.col > n)
    throw kyn::cli::UsageError("--col " + std::to_string(o.col) + " is outside the table's columns 1.." +
                               std::to_string(n));
  if (o.sec != 0 && (o.sec < 1 || o.sec > n))
    throw kyn::cli::UsageError("--sec " + std::to_string(o.sec) + " is outside the table's columns 1.." +
                               std::to_string(n));
  ProgressBar bar;
  if (isatty(2)) a.SetOnPercentDone([&bar](kyn::TObject*, int32_t p) { bar.Show(p); });
  a.Sort(o.col, o.sec, !o.desc);
  bar.Done();

  std::ostringstream text;
  for (size_t r = 1; r <= t.fieldCount.size(); ++r) {
    const int32_t row = static_cast<int32_t>(r);
    const size_t fields = t.fieldCount[static_cast<size_t>(a.GetAsInteger(0, row)) - 1];
    for (size_t c = 1; c <= fields; ++c) {
      if (c > 1) text << sep;
      text << CsvField(U8(a.GetString(static_cast<int32_t>(c), row)), sep);
    }
    text << '\n';
  }
  if (o.out.empty()) {
    std::cout << text.str();
    return;
  }
  try {
    kyn::TFileStream f(U16(o.out), kyn::fmCreate);
    const std::string s = text.str();
    f.WriteBuffer(s.data(), static_cast<int64_t>(s.size()));
    f.Flush();
  } catch (const kyn::Exception& e) {
    throw kyn::cli::Failure(o.out + ": " + e.what(), 1);
  }
}

struct FindOptions {
  std::string file, text, sep = ",";
  bool exact = false, matchCase = false;
};

void RunFind(const FindOptions& o) {
  Table t = LoadTable(o.file, SeparatorOf(o.sep));
  if (t.fieldCount.empty()) throw kyn::cli::ExitStatus{1};
  const kyn::TStringArray& a = *t.array;
  int32_t col = 0, row = 0;
  const kyn::String what = U16(o.text);
  const bool hit = o.exact ? a.FindCellExact(what, o.matchCase, 1, a.NrOfColumns(), -1, -1, col, row)
                           : a.FindCell(what, o.matchCase, 1, a.NrOfColumns(), -1, -1, col, row);
  if (!hit) throw kyn::cli::ExitStatus{1};
  std::cout << col << ',' << row << '\n';
}

const bool registered = kyn::cli::RegisterFamily("table", [](CLI::App& app) {
  auto* table = app.add_subcommand("table", "Sort or search a CSV table with the string array");
  table->require_subcommand(1);
  const char* csvNote =
      "The CSV file is UTF-8; fields are cells of at most 255 Windows-1252 characters (longer fields are cut, "
      "other characters become '?', with a warning). Quoted fields may hold separators, quotes (\"\") and line "
      "breaks.";

  auto so = std::make_shared<SortOptions>();
  auto* sort = table->add_subcommand("sort", "Sort the rows of a CSV file by a column (case of A-Z ignored)");
  sort->footer(csvNote);
  sort->add_option("FILE", so->file, "CSV file")->required();
  sort->add_option("--col", so->col, "Column to sort by, from 1")->required()->type_name("C");
  sort->add_option("--sec", so->sec, "Column that orders rows with equal --col cells")->type_name("S");
  sort->add_flag("--desc", so->desc, "Descending order");
  sort->add_option("--out", so->out, "Write the sorted CSV to FILE instead of standard output")->type_name("FILE");
  sort->add_option("--sep", so->sep, "Field separator (default ,)")->type_name("CHAR");
  sort->callback([so] { RunSort(*so); });

  auto fo = std::make_shared<FindOptions>();
  auto* find = table->add_subcommand(
      "find", "Print the first cell that contains TEXT as COLUMN,ROW (row by row); exit 1 when there is none");
  find->footer(csvNote);
  find->add_option("FILE", fo->file, "CSV file")->required();
  find->add_option("TEXT", fo->text, "Text to look for")->required();
  find->add_flag("--exact", fo->exact, "The cell must equal TEXT");
  find->add_flag("--case", fo->matchCase, "Match the case of A-Z");
  find->add_option("--sep", fo->sep, "Field separator (default ,)")->type_name("CHAR");
  find->callback([fo] { RunFind(*fo); });
});

const bool demo = kyn::cli::RegisterDemo(65, "String array", [](kyn::cli::DemoContext& ctx) {
  std::ostream& out = ctx.out;
  kyn::TStringArray a(nullptr);
  const char* rows[][3] = {{"Mercury", "0.39", "rocky"}, {"venus", "0.72", "rocky"}, {"Jupiter", "5.20", "gas"},
                           {"Earth", "1.00", "rocky"},   {"saturn", "9.54", "gas"},  {"Mars", "1.52", "rocky"}};
  a.Resize(3, 6);
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 3; ++c) a.SetString(c, r, U16(rows[r - 1][c - 1]));
  auto show = [&](const std::string& title) {
    out << title << ":";
    for (int r = 1; r <= a.NrOfRows(); ++r) out << ' ' << U8(a.GetString(1, r));
    out << '\n';
  };
  show("Stored order");
  a.Sort(1, 0, true);
  show("Sorted by name (case ignored)");
  a.Sort(3, 2, false);
  show("By kind, then distance, descending");
  a.UnSort();
  int32_t col = 0, row = 0;
  if (a.FindCell(u"TUR", false, -1, -1, -1, -1, col, row))
    out << "First cell containing \"tur\": column " << col << ", row " << row << " ("
        << U8(a.GetString(col, row)) << ")\n";
  out << "Distance of row 5 as a number: " << a.GetAsNumber(2, 5) << " AU\n";
  out << "Text pools in use: " << a.NumBuffers() << " of 32768 bytes each\n";
  std::error_code ec;
  std::filesystem::create_directories(ctx.dir, ec);
  const std::filesystem::path file = ctx.dir / "planets.xml";
  try {
    a.SaveAsXMLFile(U16(file.string()), u"planets");
    kyn::TStringArray b(nullptr);
    out << "Saved as " << file.string() << " and read back: "
        << (b.LoadFromXMLFile(U16(file.string()), u"planets") && b.GetString(1, 3) == a.GetString(1, 3) ? "same"
                                                                                                        : "different")
        << '\n';
  } catch (const kyn::Exception& e) {
    out << "Could not write " << file.string() << ": " << e.what() << '\n';
  }
});

}  // namespace
