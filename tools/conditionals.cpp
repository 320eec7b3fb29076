#include "conditionals.h"

#include <cctype>
#include <regex>
#include <vector>

namespace {

// A condition's tokens: identifiers, numbers and operators of the #if
// expression language (what the runtime's conditions use of it).
std::vector<std::string> tokens(const std::string &s)
{
    static const std::regex token(R"([A-Za-z_]\w*|\d+[uUlL]*|&&|\|\||<<|>>|[<>=!]=|\S)");
    std::vector<std::string> out;
    for (std::sregex_iterator i(s.begin(), s.end(), token), end; i != end; ++i)
        out.push_back(i->str());
    return out;
}

// Evaluates a condition by recursive descent; `known` false when it names
// something the generator does not decide.
class Condition {
public:
    Condition(const std::string &text, const std::map<std::string, KnownMacro> &macros, bool general)
        : t_(tokens(text)), macros_(macros), general_(general)
    {
    }
    bool evaluate(int64_t *value)
    {
        *value = ternary();
        return known_ && ok_ && at_ == t_.size();
    }
    bool unknown() const { return !known_; }
    const std::set<std::string> &named() const { return named_; }

private:
    const std::string &peek() const
    {
        static const std::string none;
        return at_ < t_.size() ? t_[at_] : none;
    }
    bool take(const char *op)
    {
        if (peek() != op)
            return false;
        at_++;
        return true;
    }
    int64_t ternary()
    {
        int64_t c = binary(0);
        if (!take("?"))
            return c;
        int64_t a = ternary();
        ok_ = take(":") && ok_;
        int64_t b = ternary();
        return c ? a : b;
    }
    // Binary operators by precedence, lowest first.
    int64_t binary(int level)
    {
        static const std::vector<std::vector<std::string>> levels = {
            {"||"}, {"&&"}, {"|"}, {"^"}, {"&"}, {"==", "!="}, {"<", ">", "<=", ">="}, {"<<", ">>"}, {"+", "-"},
            {"*", "/", "%"}};
        if (level == (int)levels.size())
            return unary();
        int64_t a = binary(level + 1);
        for (;;) {
            std::string op;
            for (const std::string &o : levels[level])
                if (peek() == o)
                    op = o;
            if (op.empty())
                return a;
            at_++;
            int64_t b = binary(level + 1);
            if ((op == "/" || op == "%") && b == 0) {
                ok_ = false;
                b = 1;
            }
            a = op == "||" ? (a || b) : op == "&&" ? (a && b) : op == "|" ? (a | b) : op == "^" ? (a ^ b)
                : op == "&" ? (a & b) : op == "==" ? (a == b) : op == "!=" ? (a != b) : op == "<" ? (a < b)
                : op == ">" ? (a > b) : op == "<=" ? (a <= b) : op == ">=" ? (a >= b) : op == "<<" ? (a << b)
                : op == ">>" ? (a >> b) : op == "+" ? (a + b) : op == "-" ? (a - b) : op == "*" ? (a * b)
                : op == "/" ? (a / b) : (a % b);
        }
    }
    int64_t unary()
    {
        if (take("!"))
            return !unary();
        if (take("-"))
            return -unary();
        if (take("+"))
            return unary();
        if (take("~"))
            return ~unary();
        if (take("(")) {
            int64_t v = ternary();
            ok_ = take(")") && ok_;
            return v;
        }
        if (take("defined")) {
            bool paren = take("(");
            std::string name = peek();
            at_++;
            if (paren)
                ok_ = take(")") && ok_;
            return lookup(name, true);
        }
        std::string s = peek();
        at_++;
        if (!s.empty() && std::isdigit((unsigned char)s[0]))
            return std::stoll(s);
        if (s.empty() || !(std::isalpha((unsigned char)s[0]) || s[0] == '_'))
            ok_ = false;
        return lookup(s, false);
    }
    int64_t lookup(const std::string &name, bool definedOnly)
    {
        auto m = macros_.find(name);
        if (m == macros_.end()) {
            known_ = false;
            return 0;
        }
        named_.insert(name);
        return definedOnly ? 1 : general_ ? m->second.general : m->second.value;
    }

    std::vector<std::string> t_;
    size_t at_ = 0;
    const std::map<std::string, KnownMacro> &macros_;
    bool general_;
    bool known_ = true, ok_ = true;
    std::set<std::string> named_;
};

// "#if X" and the like: the directive and its condition, comments removed.
bool directive(const std::string &line, std::string *name, std::string *condition)
{
    static const std::regex form(R"(^\s*#\s*(if|ifdef|ifndef|elif|else|endif)\b(.*)$)");
    static const std::regex comment(R"(/\*.*?\*/|//.*$)");
    std::smatch m;
    if (!std::regex_match(line, m, form))
        return false;
    *name = m[1];
    *condition = std::regex_replace(m[2].str(), comment, " ");
    if (*name == "ifdef")
        *condition = "defined(" + *condition + ")";
    else if (*name == "ifndef")
        *condition = "!defined(" + *condition + ")";
    return true;
}

// One #if group being read.
struct Group {
    bool resolved;       // decided here: its directives are dropped
    bool outerEmitting;  // the text around the group is written
    bool emitting;       // the current branch is written
    bool taken;          // a branch has been taken (for the objects)
    bool takenGeneral;   // ... for any record
    bool differs = false;
    std::set<std::string> named;
};

} // namespace

bool resolveConditionals(const std::string &text, const std::map<std::string, KnownMacro> &known, ResolvedText *out,
                         std::string *error)
{
    std::vector<Group> stack;
    out->text.clear();
    size_t at = 0;
    int lineNumber = 0;
    auto fail = [&](const std::string &why) {
        *error = "line " + std::to_string(lineNumber) + ": " + why;
        return false;
    };
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        lineNumber++;
        const bool emitting = stack.empty() || stack.back().emitting;
        std::string name, condition;
        if (!directive(line, &name, &condition)) {
            if (emitting)
                out->text += line + "\n";
            continue;
        }
        if (name == "if" || name == "ifdef" || name == "ifndef" || name == "elif") {
            Condition actual(condition, known, false), general(condition, known, true);
            int64_t value = 0, generalValue = 0;
            const bool inside = name == "elif" ? !stack.empty() && stack.back().outerEmitting : emitting;
            bool decided = actual.evaluate(&value) && general.evaluate(&generalValue);
            if (inside && !decided && !actual.unknown())
                return fail("cannot read the condition '" + condition + "'");
            if (inside && actual.unknown() && !actual.named().empty())
                return fail("the condition '" + condition + "' mixes macros the generator decides with others");
            if (name == "elif") {
                if (stack.empty())
                    return fail("#elif without #if");
                Group &g = stack.back();
                if (!g.outerEmitting)
                    continue;
                if (g.resolved != decided)
                    return fail("a group mixes conditions the generator decides with others");
                if (!g.resolved) {
                    out->text += line + "\n";
                    continue;
                }
                g.named.insert(actual.named().begin(), actual.named().end());
                const bool take = !g.taken && value, takeGeneral = !g.takenGeneral && generalValue;
                g.differs = g.differs || take != takeGeneral;
                g.emitting = g.outerEmitting && take;
                g.taken = g.taken || take;
                g.takenGeneral = g.takenGeneral || takeGeneral;
                continue;
            }
            Group g;
            g.resolved = decided && emitting; // inside a dropped branch nothing is decided
            g.outerEmitting = emitting;
            if (!g.resolved) {
                g.emitting = emitting;
                g.taken = g.takenGeneral = true;
                if (emitting)
                    out->text += line + "\n";
            } else {
                g.named = actual.named();
                g.taken = value != 0;
                g.takenGeneral = generalValue != 0;
                g.differs = g.taken != g.takenGeneral;
                g.emitting = g.taken;
            }
            stack.push_back(g);
            continue;
        }
        if (stack.empty())
            return fail("#" + name + " without #if");
        Group &g = stack.back();
        if (name == "else") {
            if (!g.resolved) {
                if (g.outerEmitting)
                    out->text += line + "\n";
                continue;
            }
            const bool take = !g.taken, takeGeneral = !g.takenGeneral;
            g.differs = g.differs || take != takeGeneral;
            g.emitting = g.outerEmitting && take;
            g.taken = g.takenGeneral = true;
            continue;
        }
        // #endif
        if (!g.resolved) {
            if (g.outerEmitting)
                out->text += line + "\n";
        } else if (g.differs) {
            for (const std::string &n : g.named)
                if (known.at(n).value != known.at(n).general)
                    out->assumed.insert(n);
        }
        stack.pop_back();
    }
    if (!stack.empty())
        return fail("#if without #endif");
    return true;
}

bool namesKnownMacro(const std::string &line, const std::map<std::string, KnownMacro> &known)
{
    std::string name, condition;
    if (!directive(line, &name, &condition))
        return false;
    Condition c(condition, known, false);
    int64_t value;
    c.evaluate(&value);
    return !c.named().empty();
}
