// refgen: writes docs/reference.md from what the code declares. Each control's stored properties
// (bag key, type, default) come from its property table, read on a control placed on a hidden
// form; its properties, methods, events and enumerations, with their comments, from its headers;
// the public classes from the type library's source.
//
//   refgen <source tree> <output file>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "button/ButtonStyle.h"
#include "decor/Bevel.h"
#include "decor/KvLinha.h"
#include "frames/TzFrames.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "host/FormFile.h"
#include "host/FormValues.h"
#include "inputs/KvFundo.h"
#include "inputs/KvText.h"
#include "inputs/KvTextBox.h"
#include "tools/ToolMain.h"

namespace {

using namespace tessel;

// One stored property as its table declares it.
struct StoredRow {
  std::string key, type, byDefault, written;
};

const char* TypeName(BagType t) {
  switch (t) {
    case BagType::Int16: return "16-bit integer";
    case BagType::Int32: return "32-bit integer";
    case BagType::Bool: return "Boolean";
    case BagType::String: return "string";
    case BagType::Single: return "single";
    case BagType::Font: return "font";
    case BagType::Picture: return "picture";
  }
  return "?";
}

std::string ValueText(const BagValue& v) {
  std::string out;
  AppendValueText(out, v, "");
  return out;
}

template <class Control>
std::vector<StoredRow> TableOf(UserControl& placed) {
  auto& control = static_cast<Control&>(placed);
  std::vector<StoredRow> rows;
  for (const auto& p : Control::StoredProperties()) {
    const BagValue def = p.readDefault.Of(control);
    StoredRow row{Utf8FromWide(p.key), TypeName(p.type), "`" + ValueText(def) + "`", "when not the default"};
    if (p.type == BagType::Font && ValueText(def) == ValueText(BagValue(control.Ambient().font)))
      row.byDefault = "the container's font";
    if (!p.writeDefault) row.written = "always";
    else if (ValueText(p.writeDefault->Of(control)) != ValueText(def))
      row.written = "when not `" + ValueText(p.writeDefault->Of(control)) + "`";
    if (p.leftOutWhenNothing) row.written += "; left out while it holds no object";
    rows.push_back(row);
  }
  return rows;
}

std::vector<StoredRow> NoTable(UserControl&) { return {}; }

// The controls, in the order the reference lists them, each with the headers that declare it.
struct ControlEntry {
  const wchar_t* type;
  const char* cppClass;
  std::vector<const char*> headers;  // the first declares the class; all are searched for enums
  std::vector<StoredRow> (*table)(UserControl&);
};

const ControlEntry kControls[] = {
    {L"Bevel", "Bevel", {"decor/Bevel.h"}, NoTable},
    {L"KvLinha", "KvLinha", {"decor/KvLinha.h"}, NoTable},
    {L"KvTextBox", "KvTextBox", {"inputs/KvTextBox.h"}, TableOf<KvTextBox>},
    {L"KvText", "KvText", {"inputs/KvText.h"}, TableOf<KvText>},
    {L"KvFundo", "KvFundo", {"inputs/KvFundo.h"}, TableOf<KvFundo>},
    {L"ButtonStyle", "ButtonStyle", {"button/ButtonStyle.h", "button/ButtonState.h"}, TableOf<ButtonStyle>},
    {L"tzFrames", "TzFrames", {"frames/TzFrames.h", "frames/FrameModel.h"}, TableOf<TzFrames>},
};

std::vector<std::string> Lines(const std::string& root, const std::string& file) {
  std::ifstream in(root + "/" + file);
  if (!in) throw std::runtime_error("cannot read " + root + "/" + file);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
  }
  return lines;
}

std::string Trim(std::string s) {
  s.erase(0, s.find_first_not_of(" \t"));
  s.erase(s.find_last_not_of(" \t") + 1);
  return s;
}

std::string Cell(std::string s) {
  for (size_t at = 0; (at = s.find('|', at)) != std::string::npos; at += 2) s.replace(at, 1, "\\|");
  return s;
}

// A comment's text: consecutive "//" lines joined.
struct Comment {
  std::string text;
  void Add(const std::string& line) { text += (text.empty() ? "" : " ") + Trim(line.substr(line.find("//") + 2)); }
};

struct Member {
  std::string name, type, args, comment;
  bool isStatic = false, isConst = false;
  bool isProperty = false;  // overrides, deleted members and the like: not part of the reference
};

// A member function's declaration, inline body or not: "static int16_t F(int16_t a, bool b) const".
std::optional<Member> Declaration(const std::string& line) {
  const size_t open = line.find('(');
  if (open == std::string::npos || line.find('=') < open) return std::nullopt;
  size_t close = open;
  for (int depth = 0; close < line.size(); ++close) {
    if (line[close] == '(') ++depth;
    if (line[close] == ')' && --depth == 0) break;
  }
  if (close >= line.size()) return std::nullopt;
  std::string head = Trim(line.substr(0, open));
  const size_t space = head.find_last_of(" \t*&");
  if (space == std::string::npos) return std::nullopt;
  Member m;
  m.name = head.substr(space + 1);
  m.type = Trim(head.substr(0, space + 1));
  if (m.type.rfind("static ", 0) == 0) {
    m.isStatic = true;
    m.type = Trim(m.type.substr(7));
  }
  if (m.type.rfind("explicit", 0) == 0 || m.type.rfind("virtual", 0) == 0 || m.type.empty() || m.type == "~")
    return std::nullopt;
  m.args = Trim(line.substr(open + 1, close - open - 1));
  std::string rest = line.substr(close + 1);
  rest = rest.substr(0, rest.find('{'));
  m.isConst = rest.find("const") != std::string::npos;
  // An override is a handler of the contract, except a property write the control makes its own.
  m.isProperty = (rest.find("override") != std::string::npos && m.name.rfind("Set", 0) != 0) ||
                 rest.find('=') != std::string::npos;
  return m;
}

struct ClassInfo {
  std::string summary;
  std::vector<Member> functions;
  std::vector<Member> events;
};

std::map<std::string, std::string> EventAliases(const std::string& root) {
  std::map<std::string, std::string> aliases;
  const std::regex alias(R"(^using (\w+) = Event<void\((.*)\)>;)");
  for (const std::string& l : Lines(root, "host/Events.h")) {
    std::smatch m;
    if (std::regex_search(l, m, alias)) aliases[m[1]] = m[2];
  }
  return aliases;
}

ClassInfo ReadClass(const std::string& root, const std::string& header, const std::string& cls,
                    const std::map<std::string, std::string>& aliases) {
  const std::vector<std::string> lines = Lines(root, header);
  ClassInfo info;
  size_t i = 0;
  Comment summary;
  for (; i < lines.size() && lines[i].rfind("#include", 0) != 0; ++i)
    if (lines[i].rfind("//", 0) == 0) summary.Add(lines[i]);
  info.summary = summary.text;
  const std::regex classLine("^class " + cls + R"(\b.*\{)");
  while (i < lines.size() && !std::regex_search(lines[i], classLine)) ++i;
  const std::regex field(R"(^([\w:<>,&\s\(\)]+?)\s+(\w+);\s*(//\s*(.*))?$)");
  bool isPublic = false, inEvents = false;
  Comment pending;
  for (++i; i < lines.size() && lines[i].rfind("};", 0) != 0; ++i) {
    std::string l = Trim(lines[i]);
    if (l == "public:") { isPublic = true; pending = {}; continue; }
    if (l == "private:" || l == "protected:") { isPublic = false; continue; }
    if (!isPublic) continue;
    if (l.empty()) { pending = {}; continue; }
    if (l.rfind("//", 0) == 0) { pending.Add(l); continue; }
    if (l.rfind("struct Events", 0) == 0) { inEvents = true; pending = {}; continue; }
    // A declaration may go on over the next lines until its parentheses close.
    while (std::count(l.begin(), l.end(), '(') > std::count(l.begin(), l.end(), ')') && i + 1 < lines.size())
      l += " " + Trim(lines[++i]);
    std::string trailing;
    if (const size_t c = l.find("//"); c != std::string::npos) {
      trailing = Trim(l.substr(c + 2));
      l = Trim(l.substr(0, c));
    }
    std::string comment = pending.text;
    if (!trailing.empty()) comment += (comment.empty() ? "" : " ") + trailing;
    pending = {};
    if (inEvents) {
      if (l.rfind("}", 0) == 0) { inEvents = false; continue; }
      std::smatch m;
      if (!std::regex_search(l, m, field)) continue;
      std::string type = Trim(m[1]), args;
      if (auto a = aliases.find(type); a != aliases.end()) args = a->second;
      else if (std::smatch f; std::regex_search(type, f, std::regex(R"(std::function<void\((.*)\)>)"))) args = f[1];
      info.events.push_back({m[2], type, args, comment});
      continue;
    }
    std::optional<Member> f = Declaration(l);
    if (!f) continue;
    if (f->isProperty || f->name == cls || f->name == "TypeName" || f->name == "StoredProperties") continue;
    // A property's note is on its own line; a comment above it heads a group of them.
    const bool accessor = !f->isStatic && ((f->args.empty() && f->type != "void") || f->name.rfind("Set", 0) == 0);
    f->comment = accessor ? trailing : comment;
    info.functions.push_back(*f);
  }
  return info;
}

struct EnumInfo {
  std::string name, comment;
  std::vector<std::pair<std::string, std::string>> values;
};

std::vector<EnumInfo> ReadEnums(const std::string& root, const std::string& header) {
  const std::vector<std::string> lines = Lines(root, header);
  std::vector<EnumInfo> enums;
  Comment pending;
  const std::regex head(R"(^enum (class )?(\w+))"), value(R"((\w+)\s*=\s*(-?\w+))");
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& l = lines[i];
    if (l.rfind("//", 0) == 0) { pending.Add(l); continue; }
    std::smatch m;
    if (!std::regex_search(l, m, head)) { pending = {}; continue; }
    EnumInfo e{m[2], pending.text, {}};
    std::string body = l;
    while (body.find("};") == std::string::npos && i + 1 < lines.size()) body += " " + lines[++i];
    body = body.substr(body.find('{'));
    for (std::sregex_iterator v(body.begin(), body.end(), value), end; v != end; ++v) e.values.emplace_back((*v)[1], (*v)[2]);
    enums.push_back(e);
    pending = {};
  }
  return enums;
}

bool IsPart(const Member& f) {
  // Accessors that hand out a constituent or the control's pieces, for hosts and tests.
  return f.args.empty() && (f.type.back() == '&' || f.type.back() == '*') &&
         f.type.find("std::wstring") == std::string::npos && f.type.find("Ref") == std::string::npos;
}

void WriteControl(std::ostream& out, const std::string& root, const ControlEntry& c, Form& form,
                  const std::map<std::string, std::string>& aliases) {
  UserControl& placed = form.Add(c.type, std::wstring(c.type) + L"1", 0, 0, 1800, 600);
  const std::vector<StoredRow> stored = c.table(placed);
  const ClassInfo info = ReadClass(root, c.headers[0], c.cppClass, aliases);
  out << "## " << Utf8FromWide(c.type) << "\n\n";
  if (std::string(c.cppClass) != Utf8FromWide(c.type)) out << "C++ class `tessel::" << c.cppClass << "`, ";
  else out << "C++ class `tessel::" << c.cppClass << "`, ";
  out << "header `" << c.headers[0] << "`.";
  if (!info.summary.empty()) out << " " << info.summary;
  out << "\n\n";

  // Properties: a getter Name() and/or a setter SetName(value), matched with the stored keys.
  std::map<std::string, const Member*> getters, setters;
  std::vector<std::string> order;
  std::vector<const Member*> methods;
  for (const Member& f : info.functions) {
    if (f.isStatic || IsPart(f)) {
      if (f.isStatic && !IsPart(f)) methods.push_back(&f);
      continue;
    }
    const bool setter = f.name.rfind("Set", 0) == 0 && f.name.size() > 3 && f.type == "void" && !f.args.empty() &&
                        f.args.find(',') == std::string::npos;
    const bool getter = f.args.empty() && f.type != "void" && f.isConst;
    std::string name = setter ? f.name.substr(3) : f.name;
    if (getter && name.rfind("Get", 0) == 0 && name.size() > 3) name = name.substr(3);  // GetButtonStyle()
    if (!setter && !getter) { methods.push_back(&f); continue; }
    if (!getters.count(name) && !setters.count(name)) order.push_back(name);
    (setter ? setters : getters)[name] = &f;
  }
  auto lower = [](std::string s) { std::transform(s.begin(), s.end(), s.begin(), ::tolower); return s; };
  std::map<std::string, const StoredRow*> byKey;
  for (const StoredRow& r : stored) byKey[lower(r.key)] = &r;

  if (!stored.empty()) {
    out << "### Stored properties\n\nIn the order they are read and written; a key is left out of a form file "
           "while it holds its default.\n\n| Bag key | Type | Default | Written |\n|---|---|---|---|\n";
    for (const StoredRow& r : stored)
      out << "| `" << r.key << "` | " << r.type << " | " << Cell(r.byDefault) << " | " << Cell(r.written) << " |\n";
    out << "\n";
  }
  if (!order.empty()) {
    out << "### Properties\n\nThe bag key is given where it is the property's own name; every stored key is in the table "
           "above.\n\n| Property | C++ type | Access | Bag key | Notes |\n|---|---|---|---|---|\n";
    for (const std::string& name : order) {
      const Member* g = getters.count(name) ? getters[name] : nullptr;
      const Member* s = setters.count(name) ? setters[name] : nullptr;
      std::string type = g ? g->type : s->args.substr(0, s->args.find_last_of(" \t"));
      if (type.rfind("const ", 0) == 0 && type.back() == '&') type = type.substr(6, type.size() - 7);
      const char* access = g && s ? "read/write" : g ? "read only" : "write only";
      const auto key = byKey.find(lower(name));
      std::string notes = s && !s->comment.empty() ? s->comment : g ? g->comment : "";
      if (g && s && !g->comment.empty() && g->comment != notes) notes = g->comment + (notes.empty() ? "" : "; " + notes);
      out << "| `" << name << "` | `" << Cell(type) << "` | " << access << " | "
          << (key != byKey.end() ? "`" + key->second->key + "`" : "-") << " | " << Cell(notes) << " |\n";
    }
    out << "\n";
  }
  if (!methods.empty()) {
    out << "### Methods\n\n";
    for (const Member* m : methods)
      out << "- `" << (m->isStatic ? "static " : "") << m->type << " " << m->name << "(" << m->args << ")"
          << (m->isConst ? " const" : "") << "`" << (m->comment.empty() ? "" : ": " + m->comment) << "\n";
    out << "\n";
  }
  if (!info.events.empty()) {
    out << "### Events\n\nMembers of `events`; arguments are references a handler may change.\n\n";
    for (const Member& e : info.events)
      out << "- `" << e.name << "(" << e.args << ")`" << (e.comment.empty() ? "" : ": " + e.comment) << "\n";
    out << "\n";
  }
  std::vector<EnumInfo> enums;
  for (const char* h : c.headers)
    for (EnumInfo& e : ReadEnums(root, h)) enums.push_back(std::move(e));
  if (!enums.empty()) {
    out << "### Enumerations\n\n";
    for (const EnumInfo& e : enums) {
      out << "- `" << e.name << "`:";
      for (const auto& [n, v] : e.values) out << " `" << n << "` = " << v << (&n == &e.values.back().first ? "" : ",");
      out << (e.comment.empty() ? "" : ". " + e.comment) << "\n";
    }
    out << "\n";
  }
}

// The public classes, from the type library's source: properties with their access, methods with
// their parameters, and the enumerations.
void WriteClasses(std::ostream& out, const std::string& root) {
  const std::vector<std::string> lines = Lines(root, "server/TesselOCX.idl");
  const std::regex iface(R"(^\s*interface _(\w+) : IDispatch)"), member(R"(\[id\((\w+)\)(, (\w+))?\]\s*HRESULT (\w+)\((.*)\);)");
  const std::regex enumHead(R"(^\s*enum (\w+) \{)"), enumValue(R"((\w+) = (-?\d+))");
  out << "## Public classes\n\nCreated by ProgID (`TesselOCX.<class>`) from any COM client; type library `TesselOCX` "
         "1.4 in `TesselOCX.ocx` (also installed as `TesselOCX.tlb`).\n\n";
  std::string enumText;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::smatch m;
    if (std::regex_search(lines[i], m, enumHead)) {
      enumText += "- `" + m[1].str() + "`:";
      std::string sep = " ";
      for (++i; i < lines.size() && lines[i].find('}') == std::string::npos; ++i)
        if (std::smatch v; std::regex_search(lines[i], v, enumValue)) {
          enumText += sep + "`" + v[1].str() + "` = " + v[2].str();
          sep = ", ";
        }
      enumText += "\n";
      continue;
    }
    if (!std::regex_search(lines[i], m, iface)) continue;
    out << "### " << m[1] << "\n\n| Member | Kind | Parameters or type | Dispatch id |\n|---|---|---|---|\n";
    std::map<std::string, std::vector<std::string>> kinds;
    std::vector<std::pair<std::string, std::string>> rows;  // name, id
    std::map<std::string, std::string> params;
    for (++i; i < lines.size() && lines[i].find("};") == std::string::npos; ++i) {
      std::string l = Trim(lines[i]);
      if (l.back() == ']' && i + 1 < lines.size()) l += " " + Trim(lines[++i]);  // attributes on a line of their own
      while (std::count(l.begin(), l.end(), '(') > std::count(l.begin(), l.end(), ')') && i + 1 < lines.size())
        l += " " + Trim(lines[++i]);
      std::smatch d;
      if (!std::regex_search(l, d, member)) continue;
      const std::string name = d[4], kind = d[3].matched ? d[3].str() : "method";
      if (!kinds.count(name)) rows.emplace_back(name, d[1]);
      kinds[name].push_back(kind);
      if (kind == "method" || kind == "propget" || params[name].empty()) params[name] = d[5];
    }
    for (const auto& [name, id] : rows) {
      const auto& k = kinds[name];
      std::string kind = "method";
      if (k[0] != "method") {
        const bool get = std::count(k.begin(), k.end(), "propget") > 0;
        const bool put = std::count(k.begin(), k.end(), "propput") > 0;
        const bool ref = std::count(k.begin(), k.end(), "propputref") > 0;
        kind = std::string("property, ") + (get ? "read" : "") + (get && (put || ref) ? "/" : "") +
               (put ? "write" : "") + (ref ? "set by reference" : "") + (get && !put && !ref ? " only" : "");
      }
      std::string shown = params[name];
      if (kind != "method") {
        // A property's type: its one parameter without the attributes, the pointer and the name.
        shown = std::regex_replace(shown, std::regex(R"(\[[^\]]*\]\s*|\*?\s*Value$)"), "");
      }
      out << "| `" << name << "` | " << kind << " | `" << Cell(Trim(shown)) << "` | " << id << " |\n";
    }
    out << "\n";
  }
  out << "### Enumerations of the type library\n\n" << enumText << "\n";
}

int Run(const std::vector<std::wstring>& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: refgen <source tree> <output file>\n");
    return 2;
  }
  const std::string root = Utf8FromWide(args[0]);
  const auto aliases = EventAliases(root);
  ControlTypes types;
  RegisterLibraryControls(types);
  auto form = Form::Create(L"reference", 6000, 4000, true, &types, FormDisplay::Hidden);
  std::ostringstream out;
  out << "# TesselOCX reference\n\n"
         "Written by `tools/refgen` from the controls' property tables and headers and from the type "
         "library's source; `ctest -R reference` fails when this file and the code part. After a change, "
         "write it again with `build/wine-run build/refgen.exe . docs/reference.md`.\n\n"
         "Every control also has the values its form keeps for it (`.Left`, `.Top`, `.Width`, `.Height`, "
         "`.TabIndex`, `.TabStop`, `.Visible`, `.Enabled`, `.Container`, `.AccessibleName`), the handlers of `UserControl` and "
         "the events of its own kind. Types of the bag: 16-bit and 32-bit integers, Boolean, string, single, "
         "font and picture; a colour is a 32-bit integer holding an OLE colour (`0x8000000F` is a system colour).\n\n";
  out << "Controls: ";
  for (const ControlEntry& c : kControls) out << "[" << Utf8FromWide(c.type) << "](#" << Utf8FromWide(c.type) << ") ";
  out << "- [Public classes](#public-classes)\n\n";
  for (const ControlEntry& c : kControls) WriteControl(out, root, c, *form, aliases);
  WriteClasses(out, root);
  form->Close();
  std::string text = out.str();
  while (text.size() > 1 && text[text.size() - 1] == '\n' && text[text.size() - 2] == '\n') text.pop_back();
  WriteFileAtomically(args[1], text);
  std::printf("refgen: wrote %s\n", Utf8FromWide(args[1]).c_str());
  return 0;
}

}  // namespace

int main() { return tessel::RunTool("refgen", 2, Run); }
