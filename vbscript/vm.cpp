#include "vbscript/vm.h"

#include <algorithm>

#include "vbscript/coerce.h"
#include "vbscript/compiler.h"
#include "vbscript/operators.h"
#include "vbscript/parser.h"
#include "vbscript/script_error.h"

namespace vbs {

namespace {

// Native stack nested runs may use before error 28; well inside a thread's usual 8 MB.
constexpr std::uintptr_t kNativeStackLimit = std::uintptr_t{2} << 20;

// Arrays beyond this many elements are refused with Out of memory rather than attempted.
constexpr std::int64_t kMaxArrayElements = std::int64_t{1} << 24;

[[gnu::always_inline]] inline bool IsWhole(const Value& v) {
    static_assert(static_cast<int>(VarType::Long) == static_cast<int>(VarType::Integer) + 1);
    return static_cast<unsigned>(v.Type()) - static_cast<unsigned>(VarType::Integer) <= 1;
}
[[gnu::always_inline]] inline std::int64_t Whole(const Value& v) {
    return v.Type() == VarType::Long ? v.AsLong() : v.AsInteger();
}

bool ConvertsToText(const Value& v) {
    return v.Type() != VarType::Object && v.Type() != VarType::Array && v.Type() != VarType::Error;
}

// A condition: Null counts as False, as If and loops treat it.
[[gnu::always_inline]] inline bool IsTrue(const Value& v) {
    if (v.Type() == VarType::Boolean)
        return v.AsBoolean();
    if (v.IsNull())
        return false;
    return ToBoolean(v);
}

// The result of + or - on two Integer/Long operands: Integer while both are Integer and it
// fits, then Long, then Double, as the operators module does on its slower path.
[[gnu::always_inline]] inline Value WholeResult(const Value& a, const Value& b, std::int64_t r) {
    if (a.Type() == VarType::Integer && b.Type() == VarType::Integer && r >= INT16_MIN &&
        r <= INT16_MAX)
        return Value::Integer(static_cast<std::int16_t>(r));
    if (r >= INT32_MIN && r <= INT32_MAX)
        return Value::Long(static_cast<std::int32_t>(r));
    return Value::Double(static_cast<double>(r));
}

[[gnu::always_inline]] inline bool IsDoubleOrWhole(const Value& v) {
    constexpr unsigned kMask = (1u << static_cast<unsigned>(VarType::Integer)) |
                               (1u << static_cast<unsigned>(VarType::Long)) |
                               (1u << static_cast<unsigned>(VarType::Double));
    const auto type = static_cast<unsigned>(v.Type());
    return type < 32 && ((kMask >> type) & 1u) != 0;
}
[[gnu::always_inline]] inline double AsNumber(const Value& v) {
    return v.Type() == VarType::Double ? v.AsDouble() : static_cast<double>(Whole(v));
}

// The frequent loop shapes (Integer, Long, Double mixed) without leaving the VM.
[[gnu::always_inline]] inline Value FastAdd(const Value& a, const Value& b, int sign) {
    if (IsWhole(a) && IsWhole(b))
        return WholeResult(a, b, Whole(a) + sign * Whole(b));
    if (IsDoubleOrWhole(a) && IsDoubleOrWhole(b)) {
        const double d = AsNumber(a) + sign * AsNumber(b);
        if (d - d == 0) // finite; the operators module reports the overflow otherwise
            return Value::Double(d);
    }
    return sign > 0 ? Add(a, b) : Subtract(a, b);
}

Value FastCompare(Comparison op, const Value& a, const Value& b, OperandOrigin origin) {
    if (IsWhole(a) && IsWhole(b))
        return Value::Boolean(ComparisonHolds(op, (Whole(a) > Whole(b)) - (Whole(a) < Whole(b))));
    return Compare(op, a, b, origin);
}

// a + sign * b stored straight into `out` for Integer/Long/Double operands, as FastAdd
// would compute it; false (with `out` untouched) for anything else.
[[gnu::always_inline]] inline bool AddInto(Value& out, const Value& a, const Value& b, int sign) {
    if (IsWhole(a) && IsWhole(b)) {
        const std::int64_t r = Whole(a) + sign * Whole(b);
        if (a.Type() == VarType::Integer && b.Type() == VarType::Integer && r >= INT16_MIN &&
            r <= INT16_MAX)
            out.SetInteger(static_cast<std::int16_t>(r));
        else if (r >= INT32_MIN && r <= INT32_MAX)
            out.SetLong(static_cast<std::int32_t>(r));
        else
            out.SetDouble(static_cast<double>(r));
        return true;
    }
    if (IsDoubleOrWhole(a) && IsDoubleOrWhole(b)) {
        const double d = AsNumber(a) + sign * AsNumber(b);
        if (d - d == 0) {
            out.SetDouble(d);
            return true;
        }
    }
    return false;
}

[[gnu::always_inline]] inline void StepCounter(Value& counter, const Value& step) {
    counter = FastAdd(counter, step, 1);
}

[[gnu::always_inline]] inline bool ForContinues(const Value& counter, const Value& limit,
                                                const Value& step) {
    if (IsWhole(counter) && IsWhole(limit) && IsWhole(step))
        return Whole(step) >= 0 ? Whole(counter) <= Whole(limit) : Whole(counter) >= Whole(limit);
    const double c = ToDouble(counter);
    return ToDouble(step) >= 0 ? c <= ToDouble(limit) : c >= ToDouble(limit);
}

// Let assignment of an object stores its default value.
void LetValue(Value& v) {
    if (v.Type() != VarType::Object)
        return;
    if (!v.AsObject())
        RaiseError(err::ObjectNotSet);
    Value inner;
    if (!v.AsObject()->DefaultValue(inner) || inner.Type() == VarType::Object)
        RaiseError(err::NoSuchMember);
    v = std::move(inner);
}

// The element of a one-dimensional array (callers check that) at a whole-number subscript.
[[gnu::always_inline]] inline std::size_t OneIndex(const Array& array, std::int64_t subscript) {
    const std::int64_t index = subscript - array.FirstLowerBound();
    if (index < 0 || static_cast<std::size_t>(index) >= array.Size())
        RaiseError(err::SubscriptOutOfRange);
    return static_cast<std::size_t>(index);
}

[[gnu::always_inline]] inline bool IsInstance(const Value& v) {
    return v.Type() == VarType::Object && dynamic_cast<ClassInstance*>(v.AsObject());
}

// Built-ins that ask about the value itself rather than use it.
bool InspectsObjects(const Builtin& builtin) {
    for (const wchar_t* name : {L"TypeName", L"IsObject", L"IsEmpty", L"IsNull", L"IsArray"}) {
        if (std::wstring_view(builtin.name) == name)
            return true;
    }
    return false;
}

[[noreturn]] void NoMember(int number, std::wstring_view name) {
    throw ScriptError{number,
                      StandardErrorDescription(number) + L": '" + std::wstring(name) + L"'"};
}

Array* CreateArray(std::span<const std::int32_t> upperBounds) {
    std::vector<Array::Bound> bounds;
    std::int64_t total = 1;
    for (std::int32_t upper : upperBounds) {
        const std::int64_t count = std::int64_t{upper} + 1;
        if (count < 0)
            RaiseError(err::SubscriptOutOfRange);
        total *= count;
        if (total > kMaxArrayElements)
            RaiseError(7);
        bounds.push_back(Array::Bound{0, static_cast<std::int32_t>(count)});
    }
    return Array::Create(bounds);
}

} // namespace

void Vm::SlotPool::NextChunk(std::size_t count) {
    const std::size_t next = m_chunks.empty() ? 0 : m_chunk + 1;
    const std::size_t size = std::max(kChunk, count);
    if (next == m_chunks.size()) {
        m_chunks.push_back(std::make_unique<Value[]>(size));
        m_chunkSizes.push_back(size);
    } else if (m_chunkSizes[next] < count) {
        m_chunks[next] = std::make_unique<Value[]>(size);
        m_chunkSizes[next] = size;
    }
    m_chunk = next;
    m_used = 0;
    m_base = m_chunks[m_chunk].get();
    m_size = m_chunkSizes[m_chunk];
}

Vm::~Vm() {
    // Instances released after this point delete themselves without Class_Terminate.
    for (Object* pending : *m_terminating)
        pending->Release();
    m_terminating->clear();
    m_terminating.reset();
}

void Vm::PushFrame(Procedure& proc, Value* args, ArgPlace* places, std::size_t argc, bool consume) {
    std::size_t poolMark = 0;
    Value* locals = m_pool.Allocate(static_cast<std::size_t>(proc.localCount), poolMark);
    const std::size_t refBase = m_refs.size();
    const std::size_t lockBase = m_locks.size();
    for (std::size_t i = 0; i < argc; ++i) {
        Value& slot = locals[1 + i];
        if (places && proc.paramByRef[i] && places[i].ref) {
            m_refs.push_back(places[i].ref);
            if (places[i].lock)
                m_locks.push_back(std::move(places[i].lock));
            continue;
        }
        if (consume)
            slot = std::move(args[i]);
        else
            slot = args[i];
        if (proc.paramByRef[i])
            m_refs.push_back(&slot);
    }
    ++proc.running;
    Frame& frame = m_frames.Push();
    frame.proc = &proc;
    frame.pc = 0;
    frame.locals = locals;
    frame.poolMark = poolMark;
    frame.refBase = refBase;
    frame.stackBase = 0;
    frame.argRefBase = 0;
    frame.lockBase = lockBase;
    frame.resumeNext = false;
    frame.discardResult = false;
}

[[gnu::always_inline]] inline void Vm::PopFrame() {
    Frame& frame = m_frames.back();
    --frame.proc->running;
    m_pool.Release(frame.locals, static_cast<std::size_t>(frame.proc->localCount), frame.poolMark);
    m_refs.resize(frame.refBase);
    if (m_stack.size() != frame.stackBase) // only after an error left values behind
        m_stack.resize(frame.stackBase);
    m_argRefs.resize(frame.argRefBase);
    if (m_locks.size() != frame.lockBase)
        m_locks.resize(frame.lockBase);
    m_frames.Pop();
}

[[gnu::always_inline]] inline Value& Vm::Variable(const Frame& frame, std::int32_t packed) {
    if (packed < (1 << kVarKindShift)) [[likely]] // a local: kind 0
        return frame.locals[packed];
    const std::int32_t index = packed & ((1 << kVarKindShift) - 1);
    switch (static_cast<VarKind>(packed >> kVarKindShift)) {
    case VarKind::Local:
        return frame.locals[index];
    case VarKind::Ref:
        return *m_refs[frame.refBase + static_cast<std::size_t>(index)];
    case VarKind::Global:
        break;
    case VarKind::Field:
        return static_cast<ClassInstance*>(frame.me.AsObject())->Field(index);
    case VarKind::Constant: // operands only; never a place to store
        RaiseError(501);
    }
    return m_scope.globals[static_cast<std::size_t>(index)];
}

void Vm::EnterCall(Procedure& proc, std::size_t argc, bool withRefs, Value me, bool discard,
                   std::size_t baseDepth) {
    if (!proc.defined)
        throw ScriptError{err::TypeMismatch, L"Type mismatch: '" + proc.name + L"'"};
    if (argc != proc.paramByRef.size())
        RaiseError(450);
    if (m_frames.size() - baseDepth >= static_cast<std::size_t>(m_limits.maxDepth))
        RaiseError(28);
    if (!withRefs)
        m_argRefs.resize(m_argRefs.size() + argc);
    PushFrame(proc, m_stack.data() + (m_stack.size() - argc),
              m_argRefs.data() + (m_argRefs.size() - argc), argc, true);
    m_stack.resize(m_stack.size() - argc);
    m_argRefs.resize(m_argRefs.size() - argc);
    Frame& frame = m_frames.back();
    frame.stackBase = m_stack.size();
    frame.argRefBase = m_argRefs.size();
    frame.me = std::move(me);
    frame.discardResult = discard;
}

const ClassInfo::Member& Vm::FindMember(const ClassInfo& info, std::wstring_view name) {
    const std::wstring key(name.empty() ? std::wstring_view(info.defaultMember) : name);
    auto it = info.members.find(key);
    // Private members answer only to the class's own procedures.
    if (it == info.members.end() || (!it->second.isPublic && m_frames.back().proc->owner != &info))
        NoMember(err::NoSuchMember, name);
    return it->second;
}

bool Vm::MemberCall(std::wstring_view name, Access access, std::size_t argc,
                    std::size_t baseDepth) {
    const std::size_t first = m_stack.size() - argc;
    Value object = std::move(m_stack[first - 1]);
    if (object.Type() == VarType::Array && name.empty()) {
        const Array& array = *object.AsArray();
        Value element = array.At(array.FlatIndex(Subscripts(first)));
        m_stack.resize(first - 1);
        m_argRefs.resize(m_argRefs.size() - argc);
        m_stack.push_back(std::move(element));
        return false;
    }
    if (object.Type() != VarType::Object)
        NoMember(err::ObjectRequired, name);
    Object* target = object.AsObject();
    if (!target)
        RaiseError(err::ObjectNotSet);
    if (auto* instance = dynamic_cast<ClassInstance*>(target)) {
        const ClassInfo& info = instance->Info();
        const ClassInfo::Member& member = FindMember(info, name);
        if (member.field >= 0) {
            Value value = instance->Field(member.field);
            if (argc > 0) {
                if (value.Type() != VarType::Array)
                    RaiseError(err::TypeMismatch);
                const Array& array = *value.AsArray();
                value = Value(array.At(array.FlatIndex(Subscripts(first))));
            }
            m_stack.resize(first - 1);
            m_argRefs.resize(m_argRefs.size() - argc);
            m_stack.push_back(std::move(value));
            return false;
        }
        const std::int32_t proc = member.method >= 0 ? member.method : member.get;
        if (proc < 0)
            NoMember(450, name);
        m_stack.erase(m_stack.begin() + static_cast<std::ptrdiff_t>(first - 1));
        EnterCall(*info.procedures[static_cast<std::size_t>(proc)], argc, true, std::move(object),
                  false, baseDepth);
        return true;
    }
    if (auto* ref = dynamic_cast<ProcedureRef*>(target); ref && name.empty()) {
        m_stack.erase(m_stack.begin() + static_cast<std::ptrdiff_t>(first - 1));
        EnterCall(*m_scope.procedures[static_cast<std::size_t>(ref->Procedure())], argc, true,
                  Value(), false, baseDepth);
        return true;
    }
    std::vector<Value> args(
        std::make_move_iterator(m_stack.begin() + static_cast<std::ptrdiff_t>(first)),
        std::make_move_iterator(m_stack.end()));
    // Moved out so locked arrays stay alive until the written-back values are stored.
    std::vector<ArgPlace> refs(
        std::make_move_iterator(m_argRefs.end() - static_cast<std::ptrdiff_t>(argc)),
        std::make_move_iterator(m_argRefs.end()));
    m_stack.resize(first - 1);
    m_argRefs.resize(m_argRefs.size() - argc);
    Value result = target->Invoke(name, access, args);
    for (std::size_t i = 0; i < argc; ++i)
        if (refs[i].ref)
            *refs[i].ref = std::move(args[i]);
    m_stack.push_back(std::move(result));
    return false;
}

bool Vm::MemberStore(std::wstring_view name, Access access, std::size_t argc,
                     std::size_t baseDepth) {
    Value value = std::move(m_stack.back());
    m_stack.pop_back();
    if (access == Access::Set) {
        if (value.Type() != VarType::Object)
            RaiseError(err::ObjectRequired);
    } else {
        ResolveDefault(value);
        LetValue(value);
    }
    const std::size_t first = m_stack.size() - argc;
    Value object = std::move(m_stack[first - 1]);
    if (object.Type() != VarType::Object)
        NoMember(err::ObjectRequired, name);
    Object* target = object.AsObject();
    if (!target)
        RaiseError(err::ObjectNotSet);
    if (auto* instance = dynamic_cast<ClassInstance*>(target)) {
        const ClassInfo& info = instance->Info();
        const ClassInfo::Member& member = FindMember(info, name);
        if (member.field >= 0) {
            Value& field = instance->Field(member.field);
            if (argc == 0) {
                field = std::move(value);
            } else {
                if (field.Type() != VarType::Array)
                    RaiseError(err::TypeMismatch);
                Array& array = *field.MutableArray();
                array.At(array.FlatIndex(Subscripts(first))) = std::move(value);
            }
            m_stack.resize(first - 1);
            return false;
        }
        const std::int32_t proc = access == Access::Set ? member.set : member.let;
        if (proc < 0)
            NoMember(450, name);
        m_stack.erase(m_stack.begin() + static_cast<std::ptrdiff_t>(first - 1));
        m_stack.push_back(std::move(value));
        EnterCall(*info.procedures[static_cast<std::size_t>(proc)], argc + 1, false,
                  std::move(object), true, baseDepth);
        return true;
    }
    std::vector<Value> args(
        std::make_move_iterator(m_stack.begin() + static_cast<std::ptrdiff_t>(first)),
        std::make_move_iterator(m_stack.end()));
    args.push_back(std::move(value));
    m_stack.resize(first - 1);
    target->Invoke(name, access, args);
    return false;
}

bool Vm::New(const std::wstring& className, std::size_t baseDepth) {
    auto it = m_scope.classes.find(className);
    if (it == m_scope.classes.end())
        throw ScriptError{506, L"Class not defined: '" + className + L"'"};
    const std::shared_ptr<ClassInfo>& info = it->second;
    Value instance = Value::FromObject(new ClassInstance(info, m_terminating));
    m_stack.push_back(instance);
    if (info->initialize < 0)
        return false;
    EnterCall(*info->procedures[static_cast<std::size_t>(info->initialize)], 0, false,
              std::move(instance), true, baseDepth);
    return true;
}

bool Vm::StartTerminate(std::size_t baseDepth) {
    while (!m_terminating->empty()) {
        Object* due = m_terminating->back();
        m_terminating->pop_back();
        Value me = Value::FromObject(due);
        due->Release(); // the queue's reference; `me` holds it now
        const auto& info = static_cast<ClassInstance*>(due)->Info();
        Procedure& proc = *info.procedures[static_cast<std::size_t>(info.terminate)];
        // A Class_Terminate with parameters, or one too deep to run, is skipped.
        if (!proc.paramByRef.empty() ||
            m_frames.size() - baseDepth >= static_cast<std::size_t>(m_limits.maxDepth))
            continue;
        EnterCall(proc, 0, false, std::move(me), true, baseDepth);
        return true;
    }
    return false;
}

void Vm::ResolveDefault(Value& v) {
    if (!IsInstance(v))
        return;
    auto* instance = static_cast<ClassInstance*>(v.AsObject());
    const ClassInfo& info = instance->Info();
    auto it = info.members.find(info.defaultMember);
    if (info.defaultMember.empty() || it == info.members.end())
        return; // using it as a value fails later with 438
    if (it->second.field >= 0) {
        v = Value(instance->Field(it->second.field));
        return;
    }
    const std::int32_t index = it->second.method >= 0 ? it->second.method : it->second.get;
    if (index < 0)
        return;
    Procedure& proc = *info.procedures[static_cast<std::size_t>(index)];
    if (!proc.paramByRef.empty())
        RaiseError(450);
    // The caller's operands stay where they are while the property runs on fresh stacks.
    struct StacksAside {
        Vm& vm;
        VmStack<Value> stack;
        VmStack<ArgPlace> argRefs;
        std::vector<std::int32_t> subscripts;
        explicit StacksAside(Vm& owner) : vm(owner) { Swap(); }
        ~StacksAside() { Swap(); }
        void Swap() {
            vm.m_stack.swap(stack);
            vm.m_argRefs.swap(argRefs);
            vm.m_subscripts.swap(subscripts);
        }
    } aside(*this);
    Value result = RunFrame(proc, nullptr, {}, v);
    v = std::move(result);
}

std::uint64_t Vm::ResolveValues(std::span<Value> values, Frame& frame, std::int32_t pc,
                                std::uint64_t steps) {
    frame.pc = pc;
    m_stepsLeft = steps;
    for (Value& v : values)
        ResolveDefault(v);
    return m_stepsLeft;
}

Value Vm::EvalText(const Value& text, const Frame& caller) {
    ParseResult parsed = ParseExpression(ToString(text));
    if (parsed.error)
        throw ScriptError{parsed.error->number, parsed.error->description};
    std::unique_ptr<Procedure> code;
    SyntaxError failure;
    if (!CompileExpression(*parsed.program, m_scope, code, failure, caller.proc))
        throw ScriptError{failure.number, failure.description};
    return RunInScope(*code, &caller);
}

void Vm::ExecuteText(const Value& text, const Frame* caller) {
    ParseResult parsed = Parse(ToString(text));
    if (parsed.error)
        throw ScriptError{parsed.error->number, parsed.error->description};
    std::unique_ptr<Procedure> code;
    SyntaxError failure;
    if (!Compile(*parsed.program, m_scope, code, failure, caller ? caller->proc : nullptr))
        throw ScriptError{failure.number, failure.description};
    RunInScope(*code, caller);
}

Value Vm::RunInScope(Procedure& code, const Frame* caller) {
    std::vector<ArgPlace> places(code.captures.size());
    for (std::size_t i = 0; i < places.size(); ++i)
        places[i].ref = &Variable(*caller, code.captures[i]);
    return RunFrame(code, nullptr, places, caller ? caller->me : Value());
}

std::span<const std::int32_t> Vm::Subscripts(std::size_t first) {
    m_subscripts.clear();
    for (std::size_t i = first; i < m_stack.size(); ++i)
        m_subscripts.push_back(ToLong(m_stack[i]));
    return m_subscripts;
}

std::span<const std::int32_t> Vm::PopSubscripts(int count) {
    const std::size_t first = m_stack.size() - static_cast<std::size_t>(count);
    Subscripts(first);
    m_stack.resize(first);
    return m_subscripts;
}

void Vm::ReDim(Value& target, int dimensions, bool preserve) {
    if (target.Type() == VarType::Array && target.AsArray()->IsLocked())
        RaiseError(10);
    Array* fresh = CreateArray(PopSubscripts(dimensions));
    Value created = Value::FromArray(fresh);
    if (preserve && target.Type() == VarType::Array) {
        // Only the last dimension may change; rows keep their leading elements.
        const Array& old = *target.AsArray();
        if (old.Dimensions() != dimensions)
            RaiseError(err::SubscriptOutOfRange);
        for (int d = 1; d < dimensions; ++d)
            if (old.UpperBound(d) != fresh->UpperBound(d))
                RaiseError(err::SubscriptOutOfRange);
        const std::size_t oldLast =
            static_cast<std::size_t>(old.UpperBound(dimensions) - old.LowerBound(dimensions) + 1);
        const std::size_t newLast = static_cast<std::size_t>(fresh->UpperBound(dimensions) -
                                                             fresh->LowerBound(dimensions) + 1);
        const std::size_t rows = oldLast == 0 ? 0 : old.Size() / oldLast;
        for (std::size_t r = 0; r < rows; ++r)
            for (std::size_t j = 0; j < std::min(oldLast, newLast); ++j)
                fresh->At(r * newLast + j) = old.At(r * oldLast + j);
    }
    target = std::move(created);
}

Value Vm::Run(Procedure& proc, std::span<Value> args) {
    if (args.size() != proc.paramByRef.size())
        RaiseError(450);
    if (m_frames.size() == 0) {
        m_stepsLeft = m_limits.maxSteps;
        m_fatal = false;
        m_nativeBase = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    }
    std::vector<ArgPlace> places(args.size());
    for (std::size_t i = 0; i < args.size(); ++i)
        places[i].ref = &args[i];
    return RunFrame(proc, args.data(), places, Value());
}

Value Vm::RunFrame(Procedure& proc, Value* args, std::span<ArgPlace> places, Value me) {
    const std::size_t base = m_frames.size();
    const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    if (base >= static_cast<std::size_t>(m_limits.maxDepth) ||
        (m_nativeBase > here && m_nativeBase - here > kNativeStackLimit))
        RaiseError(28);
    PushFrame(proc, args, places.data(), places.size(), false);
    m_frames.back().me = std::move(me);
    m_frames.back().stackBase = m_stack.size();
    m_frames.back().argRefBase = m_argRefs.size();
    for (;;) {
        try {
            Execute(base);
            // Instances released on the way out run their Class_Terminate before the host
            // gets the result.
            if (StartTerminate(base))
                continue;
            break;
        } catch (const ScriptError& error) {
            const Frame& top = m_frames.back();
            const StatementRange* where = top.proc->StatementAt(top.pc - 1);
            m_errorLine = where ? where->line : 0;
            if (m_fatal || error.fatal || !Recover(error, base)) {
                while (m_frames.size() > base)
                    PopFrame();
                throw;
            }
        }
    }
    Value result = std::move(m_stack.back());
    m_stack.pop_back();
    return result;
}

bool Vm::Recover(const ScriptError& error, std::size_t baseDepth) {
    m_runtime.Err().number = error.number;
    m_runtime.Err().description = error.description;
    while (m_frames.size() > baseDepth) {
        Frame& frame = m_frames.back();
        if (frame.resumeNext) {
            if (const StatementRange* range = frame.proc->StatementAt(frame.pc - 1))
                frame.pc = range->resume;
            m_stack.resize(frame.stackBase);
            m_argRefs.resize(frame.argRefBase);
            return true;
        }
        PopFrame();
    }
    return false;
}

void Vm::Execute(std::size_t baseDepth) {
    Frame* f = &m_frames.back();
    const Instr* code = f->proc->code.data();
    const Value* constants = f->proc->constants.data();
    Value* locals = f->locals;
    std::int32_t pc = f->pc;
    // Kept in a register while running; written back however the loop ends.
    std::uint64_t steps = m_stepsLeft;
    const auto enter = [&]() __attribute__((always_inline)) {
        f = &m_frames.back();
        code = f->proc->code.data();
        constants = f->proc->constants.data();
        locals = f->locals;
        pc = f->pc;
    };
    // Steps live in a register; calls that may re-enter the engine see the true count.
    const auto leave = [&]() __attribute__((always_inline)) {
        f->pc = pc;
        m_stepsLeft = steps;
    };
    const auto resume = [&](bool pushed) __attribute__((always_inline)) {
        steps = m_stepsLeft;
        if (pushed)
            enter();
    };
    // Where a store may have released the last reference to an instance, its
    // Class_Terminate runs before the next statement.
    const auto safePoint = [&]() __attribute__((always_inline)) {
        if (!m_terminating->empty()) {
            f->pc = pc;
            if (StartTerminate(baseDepth))
                enter();
        }
    };
    // A script class instance used as a value becomes its default property's value.
    const auto resolve = [&](Value & v) __attribute__((always_inline)) {
        if (v.Type() == VarType::Object) [[unlikely]]
            steps = ResolveValues(std::span<Value>(&v, 1), *f, pc, steps);
    };
    const auto let = [&](Value & v) __attribute__((always_inline)) {
        resolve(v);
        LetValue(v);
    };
    const auto binaryOn = [&](auto operation) __attribute__((always_inline)) {
        Value& left = m_stack[m_stack.size() - 2];
        left = operation(left, m_stack.back());
        m_stack.pop_back();
    };
    const auto binary = [&](auto operation) __attribute__((always_inline)) {
        Value* operands = m_stack.end() - 2;
        if (operands[0].Type() == VarType::Object || operands[1].Type() == VarType::Object)
            [[unlikely]]
            steps = ResolveValues(std::span<Value>(operands, 2), *f, pc, steps);
        binaryOn(operation);
    };
    // Every loop passes a jump and every recursion a call, so counting those bounds the run.
    const auto tick = [&]() __attribute__((always_inline)) {
        if (steps == 0) {
            m_fatal = true;
            throw ScriptError{kStepLimitError, kStepLimitDescription, true};
        }
        --steps;
    };
    const auto operand = [&](std::int32_t packed) __attribute__((always_inline))->const Value& {
        if (packed < (1 << kVarKindShift)) [[likely]]
            return locals[packed];
        if ((packed >> kVarKindShift) == static_cast<std::int32_t>(VarKind::Constant))
            return constants[packed & ((1 << kVarKindShift) - 1)];
        return Variable(*f, packed);
    };
    try {
        for (;;) {
            const Instr& in = code[pc++];
            switch (in.op) {
            case Op::PushConst:
                m_stack.push_back(constants[in.a]);
                break;
            case Op::Pop:
                m_stack.pop_back();
                safePoint();
                break;
            case Op::LoadLocal:
                m_stack.push_back(locals[in.a]);
                break;
            case Op::StoreLocal:
                let(m_stack.back());
                locals[in.a] = std::move(m_stack.back());
                m_stack.pop_back();
                safePoint();
                break;
            case Op::LoadRef:
                m_stack.push_back(*m_refs[f->refBase + static_cast<std::size_t>(in.a)]);
                break;
            case Op::StoreRef:
                let(m_stack.back());
                *m_refs[f->refBase + static_cast<std::size_t>(in.a)] = std::move(m_stack.back());
                m_stack.pop_back();
                safePoint();
                break;
            case Op::LoadGlobal:
                m_stack.push_back(m_scope.globals[static_cast<std::size_t>(in.a)]);
                break;
            case Op::StoreGlobal:
                let(m_stack.back());
                m_scope.globals[static_cast<std::size_t>(in.a)] = std::move(m_stack.back());
                m_stack.pop_back();
                safePoint();
                break;
            case Op::LoadField:
                m_stack.push_back(static_cast<ClassInstance*>(f->me.AsObject())->Field(in.a));
                break;
            case Op::StoreField:
                let(m_stack.back());
                static_cast<ClassInstance*>(f->me.AsObject())->Field(in.a) =
                    std::move(m_stack.back());
                m_stack.pop_back();
                safePoint();
                break;
            case Op::LoadChecked:
                if (!m_scope.declared[static_cast<std::size_t>(in.a)])
                    RaiseError(500);
                m_stack.push_back(m_scope.globals[static_cast<std::size_t>(in.a)]);
                break;
            case Op::SetVar: {
                if (in.b == 0 && m_stack.back().Type() != VarType::Object)
                    RaiseError(err::ObjectRequired);
                Variable(*f, in.a) = std::move(m_stack.back());
                m_stack.pop_back();
                safePoint();
                break;
            }
            case Op::RequireObject:
                if (m_stack.back().Type() != VarType::Object)
                    RaiseError(err::ObjectRequired);
                break;
            case Op::LoadMe:
                if (f->me.IsEmpty())
                    RaiseError(err::ObjectRequired);
                m_stack.push_back(f->me);
                break;
            case Op::CallMe: {
                tick();
                const auto& info = static_cast<ClassInstance*>(f->me.AsObject())->Info();
                f->pc = pc;
                EnterCall(*info.procedures[static_cast<std::size_t>(in.a)],
                          static_cast<std::size_t>(in.b), true, f->me, false, baseDepth);
                enter();
                break;
            }
            case Op::Member:
                tick();
                leave();
                resume(MemberCall(constants[in.a].AsString(), static_cast<Access>(in.c),
                                  static_cast<std::size_t>(in.b), baseDepth));
                break;
            case Op::StoreMember:
                tick();
                leave();
                resume(MemberStore(constants[in.a].AsString(), static_cast<Access>(in.c),
                                   static_cast<std::size_t>(in.b), baseDepth));
                break;
            case Op::New:
                f->pc = pc;
                if (New(std::wstring(constants[in.a].AsString()), baseDepth))
                    enter();
                break;
            case Op::Erase: {
                Value& target = Variable(*f, in.a);
                if (target.Type() != VarType::Array) {
                    if (in.b == 0)
                        RaiseError(err::TypeMismatch);
                    break;
                }
                if (in.b == 0) {
                    if (target.AsArray()->IsLocked())
                        RaiseError(10);
                    target = Value();
                } else {
                    Array& array = *target.MutableArray();
                    for (std::size_t i = 0; i < array.Size(); ++i)
                        array.At(i) = Value();
                }
                safePoint();
                break;
            }
            case Op::Eval: {
                Value text = std::move(m_stack.back());
                m_stack.pop_back();
                leave();
                Value result = EvalText(text, *f);
                resume(false);
                m_stack.push_back(std::move(result));
                break;
            }
            case Op::Execute: {
                Value text = std::move(m_stack.back());
                m_stack.pop_back();
                leave();
                ExecuteText(text, in.a != 0 ? f : nullptr);
                resume(false);
                break;
            }
            case Op::GetRef: {
                const std::wstring name = FoldCase(ToString(m_stack.back()));
                auto it = m_scope.procedureIndex.find(name);
                if (it == m_scope.procedureIndex.end() ||
                    !m_scope.procedures[static_cast<std::size_t>(it->second)]->defined)
                    RaiseError(err::InvalidCall);
                m_stack.back() = Value::FromObject(new ProcedureRef(it->second));
                break;
            }
            case Op::BinaryPush:
            case Op::BinaryTo: {
                const Value& left = operand(in.b);
                const Value& right = operand(in.c);
                if (left.Type() == VarType::Object || right.Type() == VarType::Object)
                    [[unlikely]] {
                    // Through the stack, where instances can be resolved.
                    m_stack.push_back(left);
                    m_stack.push_back(right);
                    binary([&](const Value& a, const Value& b) {
                        if (static_cast<FusedOp>(in.x) == FusedOp::Multiply)
                            return Multiply(a, b);
                        return FastAdd(a, b, static_cast<FusedOp>(in.x) == FusedOp::Add ? 1 : -1);
                    });
                    if (in.op == Op::BinaryTo) {
                        Variable(*f, in.a) = std::move(m_stack.back());
                        m_stack.pop_back();
                        safePoint();
                    }
                    break;
                }
                if (in.op == Op::BinaryTo && static_cast<FusedOp>(in.x) != FusedOp::Multiply) {
                    // Releasing an object or array would need a safe point: not here.
                    Value& target = Variable(*f, in.a);
                    if (target.Type() != VarType::Object && target.Type() != VarType::Array &&
                        AddInto(target, left, right,
                                static_cast<FusedOp>(in.x) == FusedOp::Add ? 1 : -1))
                        break;
                }
                Value result = [&] {
                    switch (static_cast<FusedOp>(in.x)) {
                    case FusedOp::Add:
                        return FastAdd(left, right, 1);
                    case FusedOp::Subtract:
                        return FastAdd(left, right, -1);
                    case FusedOp::Multiply:
                        break;
                    }
                    return Multiply(left, right);
                }();
                if (in.op == Op::BinaryPush) {
                    m_stack.push_back(std::move(result));
                } else {
                    Value& target = Variable(*f, in.a);
                    const bool heldCounted =
                        target.Type() == VarType::Object || target.Type() == VarType::Array;
                    target = std::move(result);
                    if (heldCounted)
                        safePoint();
                }
                break;
            }
            case Op::Move: {
                const Value& source = operand(in.b);
                if (source.Type() == VarType::Object) { // Let stores its default value
                    m_stack.push_back(source);
                    let(m_stack.back());
                    Variable(*f, in.a) = std::move(m_stack.back());
                    m_stack.pop_back();
                    safePoint();
                    break;
                }
                Value& target = Variable(*f, in.a);
                const bool heldCounted =
                    target.Type() == VarType::Object || target.Type() == VarType::Array;
                target = source;
                if (heldCounted)
                    safePoint();
                break;
            }
            case Op::CompareJump: {
                tick();
                const Value& left = operand(in.b);
                const Value& right = operand(in.c);
                const auto cmp = static_cast<Comparison>(in.x & 0x0F);
                bool truth;
                if (left.Type() == VarType::Object || right.Type() == VarType::Object)
                    [[unlikely]] {
                    m_stack.push_back(left);
                    m_stack.push_back(right);
                    resolve(m_stack[m_stack.size() - 2]);
                    resolve(m_stack.back());
                    truth = IsTrue(Compare(
                        cmp, m_stack[m_stack.size() - 2], m_stack.back(),
                        OperandOrigin{(in.x & kLeftLiteral) != 0, (in.x & kRightLiteral) != 0}));
                    m_stack.drop(2);
                } else if (IsWhole(left) && IsWhole(right))
                    truth = ComparisonHolds(cmp, (Whole(left) > Whole(right)) -
                                                     (Whole(left) < Whole(right)));
                else
                    truth = IsTrue(Compare(
                        cmp, left, right,
                        OperandOrigin{(in.x & kLeftLiteral) != 0, (in.x & kRightLiteral) != 0}));
                if (truth == ((in.x & kJumpWhenTrue) != 0))
                    pc = in.a;
                break;
            }
            case Op::LoadElement1: {
                const Value& target = Variable(*f, in.a);
                if (target.Type() == VarType::Array && target.AsArray()->Dimensions() == 1) {
                    const Array& array = *target.AsArray();
                    const Value& subscript = operand(in.b);
                    m_stack.push_back(array.At(OneIndex(
                        array, IsWhole(subscript) ? Whole(subscript) : ToLong(subscript))));
                    break;
                }
                // Anything else goes the general way with the subscript on the stack.
                m_stack.push_back(operand(in.b));
                if (target.Type() == VarType::Object) {
                    m_stack.insert(m_stack.end() - 1, target);
                    m_argRefs.emplace_back();
                    leave();
                    resume(MemberCall(L"", Access::Get, 1, baseDepth));
                    break;
                }
                const auto subscripts = PopSubscripts(1);
                if (target.Type() != VarType::Array)
                    RaiseError(err::TypeMismatch);
                m_stack.push_back(target.AsArray()->At(target.AsArray()->FlatIndex(subscripts)));
                break;
            }
            case Op::LoadElement: {
                if (Variable(*f, in.a).Type() == VarType::Object) {
                    // An object indexed like an array: its default member.
                    const std::size_t first = m_stack.size() - static_cast<std::size_t>(in.b);
                    m_stack.insert(m_stack.begin() + static_cast<std::ptrdiff_t>(first),
                                   Variable(*f, in.a));
                    m_argRefs.resize(m_argRefs.size() + static_cast<std::size_t>(in.b));
                    leave();
                    resume(MemberCall(L"", Access::Get, static_cast<std::size_t>(in.b), baseDepth));
                    break;
                }
                const Value& target = Variable(*f, in.a);
                if (target.Type() != VarType::Array)
                    RaiseError(err::TypeMismatch);
                const Array& array = *target.AsArray();
                if (in.b == 1 && array.Dimensions() == 1 && IsWhole(m_stack.back())) {
                    m_stack.back() = array.At(OneIndex(array, Whole(m_stack.back())));
                    break;
                }
                const std::size_t flat = array.FlatIndex(PopSubscripts(in.b));
                m_stack.push_back(array.At(flat));
                break;
            }
            case Op::StoreElement:
            case Op::SetElement: {
                const Access access = in.op == Op::SetElement ? Access::Set : Access::Let;
                if (Variable(*f, in.a).Type() == VarType::Object) {
                    const std::size_t first = m_stack.size() - static_cast<std::size_t>(in.b) - 1;
                    m_stack.insert(m_stack.begin() + static_cast<std::ptrdiff_t>(first),
                                   Variable(*f, in.a));
                    leave();
                    resume(MemberStore(L"", access, static_cast<std::size_t>(in.b), baseDepth));
                    break;
                }
                Value value = std::move(m_stack.back());
                m_stack.pop_back();
                if (access == Access::Set) {
                    if (value.Type() != VarType::Object)
                        RaiseError(err::ObjectRequired);
                } else {
                    let(value);
                }
                if (Variable(*f, in.a).Type() != VarType::Array)
                    RaiseError(err::TypeMismatch);
                std::size_t flat;
                if (in.b == 1 && IsWhole(m_stack.back()) &&
                    Variable(*f, in.a).AsArray()->Dimensions() == 1) {
                    // One whole-number subscript: no subscript list needed.
                    flat = OneIndex(*Variable(*f, in.a).MutableArray(), Whole(m_stack.back()));
                    m_stack.pop_back();
                } else {
                    // Subscripts convert before the array is touched: a conversion may run
                    // code that changes the variable.
                    const auto subscripts = PopSubscripts(in.b);
                    if (Variable(*f, in.a).Type() != VarType::Array)
                        RaiseError(err::TypeMismatch);
                    flat = Variable(*f, in.a).AsArray()->FlatIndex(subscripts);
                }
                Array& array = *Variable(*f, in.a).MutableArray();
                Value old = std::move(array.At(flat));
                array.At(flat) = std::move(value);
                if (old.Type() == VarType::Object) {
                    old = Value();
                    safePoint();
                }
                break;
            }
            case Op::DimArray:
                Variable(*f, in.a) = Value::FromArray(CreateArray(PopSubscripts(in.b)));
                break;
            case Op::ReDim:
                ReDim(Variable(*f, in.a), in.b, in.c != 0);
                break;
            case Op::ArgRef: {
                Value& variable = Variable(*f, in.a);
                m_stack.push_back(variable);
                m_argRefs.push_back(ArgPlace{&variable, {}});
                break;
            }
            case Op::ArgElement: {
                Value& target = Variable(*f, in.a);
                if (target.Type() == VarType::Array) {
                    Array& array = *target.MutableArray();
                    Value& element = array.At(array.FlatIndex(PopSubscripts(in.b)));
                    m_stack.push_back(element);
                    m_argRefs.push_back(ArgPlace{&element, ArrayLock(&array)});
                    break;
                }
                if (target.Type() != VarType::Object)
                    RaiseError(err::TypeMismatch);
                // An object's default member: its result goes by value.
                m_argRefs.emplace_back();
                const std::size_t first = m_stack.size() - static_cast<std::size_t>(in.b);
                m_stack.insert(m_stack.begin() + static_cast<std::ptrdiff_t>(first), target);
                m_argRefs.resize(m_argRefs.size() + static_cast<std::size_t>(in.b));
                leave();
                resume(MemberCall(L"", Access::Get, static_cast<std::size_t>(in.b), baseDepth));
                break;
            }
            case Op::ArgValue:
                m_argRefs.emplace_back();
                break;
            case Op::Call: {
                tick();
                Procedure& callee = *m_scope.procedures[static_cast<std::size_t>(in.a)];
                const auto argc = static_cast<std::size_t>(in.b);
                if (!callee.defined)
                    throw ScriptError{err::TypeMismatch, L"Type mismatch: '" + callee.name + L"'"};
                if (argc != callee.paramByRef.size())
                    RaiseError(450);
                if (m_frames.size() - baseDepth >= static_cast<std::size_t>(m_limits.maxDepth))
                    RaiseError(28);
                f->pc = pc;
                const bool places = in.c == 0;
                PushFrame(callee, m_stack.data() + (m_stack.size() - argc),
                          places ? m_argRefs.data() + (m_argRefs.size() - argc) : nullptr, argc,
                          true);
                m_stack.drop(argc);
                if (places)
                    m_argRefs.drop(argc);
                m_frames.back().stackBase = m_stack.size();
                m_frames.back().argRefBase = m_argRefs.size();
                enter();
                break;
            }
            case Op::CallBuiltin: {
                const Builtin& builtin = *m_scope.builtins[static_cast<std::size_t>(in.a)];
                if (in.b < builtin.minArgs || (builtin.maxArgs >= 0 && in.b > builtin.maxArgs))
                    RaiseError(450);
                const std::size_t first = m_stack.size() - static_cast<std::size_t>(in.b);
                for (std::size_t i = first; i < m_stack.size(); ++i) {
                    if (m_stack[i].Type() == VarType::Object && !InspectsObjects(builtin))
                        resolve(m_stack[i]);
                }
                Value result =
                    builtin.function(&m_runtime, std::span<Value>(m_stack.data() + first,
                                                                  static_cast<std::size_t>(in.b)));
                m_stack.resize(first);
                m_stack.push_back(std::move(result));
                break;
            }
            case Op::Return: {
                Value result = std::move(locals[0]);
                const bool discard = f->discardResult;
                PopFrame();
                if (!discard)
                    m_stack.push_back(std::move(result));
                if (m_frames.size() == baseDepth) {
                    m_stepsLeft = steps;
                    return;
                }
                enter();
                safePoint();
                break;
            }
            case Op::Jump:
                tick();
                pc = in.a;
                break;
            case Op::JumpIfFalse: {
                tick();
                resolve(m_stack.back());
                const bool truth = IsTrue(m_stack.back());
                m_stack.pop_back();
                if (!truth)
                    pc = in.a;
                break;
            }
            case Op::JumpIfTrue: {
                tick();
                resolve(m_stack.back());
                const bool truth = IsTrue(m_stack.back());
                m_stack.pop_back();
                if (truth)
                    pc = in.a;
                break;
            }
            case Op::ForStart:
                if (!ForContinues(Variable(*f, in.a), locals[in.b], locals[in.b + 1]))
                    pc = in.c;
                break;
            case Op::ForNext: {
                tick();
                Value& counter = Variable(*f, in.a);
                const Value& limit = locals[in.b];
                const Value& step = locals[in.b + 1];
                if (counter.Type() == VarType::Long && IsWhole(step) && IsWhole(limit)) {
                    // The usual counter: stays a Long while it fits.
                    const std::int64_t next = std::int64_t{counter.AsLong()} + Whole(step);
                    if (next >= INT32_MIN && next <= INT32_MAX) {
                        counter.SetLong(static_cast<std::int32_t>(next));
                        if (Whole(step) >= 0 ? next <= Whole(limit) : next >= Whole(limit))
                            pc = in.c;
                        break;
                    }
                }
                StepCounter(counter, step);
                if (ForContinues(counter, limit, step))
                    pc = in.c;
                break;
            }
            case Op::ForEachStart: {
                Value collection = std::move(m_stack.back());
                m_stack.pop_back();
                if (collection.Type() == VarType::Object) {
                    if (!collection.AsObject())
                        RaiseError(err::ObjectNotSet);
                    leave();
                    std::vector<Value> items = collection.AsObject()->Items();
                    resume(false);
                    const Array::Bound bound{0, static_cast<std::int32_t>(items.size())};
                    collection = Value::FromArray(Array::Create(std::span(&bound, 1)));
                    Array& body = *collection.MutableArray();
                    for (std::size_t i = 0; i < items.size(); ++i)
                        body.At(i) = std::move(items[i]);
                }
                if (collection.Type() != VarType::Array)
                    RaiseError(451);
                const bool empty = collection.AsArray()->Size() == 0;
                if (!empty)
                    Variable(*f, in.a) = collection.AsArray()->At(0);
                locals[in.b] = std::move(collection);
                locals[in.b + 1] = Value::Long(1);
                if (empty)
                    pc = in.c;
                break;
            }
            case Op::ForEachNext: {
                tick();
                // Not an array only when ForEachStart failed under On Error Resume Next.
                if (locals[in.b].Type() != VarType::Array)
                    break;
                const Array& array = *locals[in.b].AsArray();
                const auto next = static_cast<std::size_t>(locals[in.b + 1].AsLong());
                if (next < array.Size()) {
                    Variable(*f, in.a) = array.At(next);
                    locals[in.b + 1] = Value::Long(static_cast<std::int32_t>(next + 1));
                    pc = in.c;
                }
                break;
            }
            case Op::Negate:
                resolve(m_stack.back());
                m_stack.back() = Negate(m_stack.back());
                break;
            case Op::Not:
                resolve(m_stack.back());
                m_stack.back() = Not(m_stack.back());
                break;
            case Op::Add:
                binary([](const Value& a, const Value& b) { return FastAdd(a, b, 1); });
                break;
            case Op::Subtract:
                binary([](const Value& a, const Value& b) { return FastAdd(a, b, -1); });
                break;
            case Op::Multiply:
                binary([](const Value& a, const Value& b) { return Multiply(a, b); });
                break;
            case Op::Divide:
                binary(Divide);
                break;
            case Op::IntDivide:
                binary(IntegerDivide);
                break;
            case Op::Mod:
                binary(Modulo);
                break;
            case Op::Power:
                binary(Power);
                break;
            case Op::Concat: {
                resolve(m_stack[m_stack.size() - 2]);
                resolve(m_stack.back());
                Value& left = m_stack[m_stack.size() - 2];
                left = Concatenate(std::move(left), m_stack.back());
                m_stack.pop_back();
                break;
            }
            case Op::AppendTo: {
                Value& target = Variable(*f, in.a);
                const std::size_t first = m_stack.size() - static_cast<std::size_t>(in.b);
                // Appending in place is safe when no operand can fail to convert; otherwise
                // work on a copy so a failure leaves the variable as it was.
                bool convertible = ConvertsToText(target);
                for (std::size_t i = first; i < m_stack.size(); ++i)
                    convertible = convertible && ConvertsToText(m_stack[i]);
                Value copy;
                Value& result = convertible ? target : (copy = target);
                for (std::size_t i = first; i < m_stack.size(); ++i)
                    result = Concatenate(std::move(result), m_stack[i]);
                if (!convertible)
                    target = std::move(copy);
                m_stack.resize(first);
                break;
            }
            case Op::Compare: {
                const OperandOrigin origin{(in.b & 1) != 0, (in.b & 2) != 0};
                binary([&](const Value& a, const Value& b) {
                    return FastCompare(static_cast<Comparison>(in.a), a, b, origin);
                });
                break;
            }
            case Op::And:
                binary(And);
                break;
            case Op::Or:
                binary(Or);
                break;
            case Op::Xor:
                binary(Xor);
                break;
            case Op::Eqv:
                binary(Eqv);
                break;
            case Op::Imp:
                binary(Imp);
                break;
            case Op::Is:
                binaryOn(Is);
                break;
            case Op::OnErrorResumeNext:
                f->resumeNext = true;
                m_runtime.ClearErr();
                break;
            case Op::OnErrorGoto0:
                f->resumeNext = false;
                m_runtime.ClearErr();
                break;
            case Op::ErrNumber:
                m_stack.push_back(Value::Long(m_runtime.Err().number));
                break;
            case Op::ErrDescription:
                m_stack.push_back(Value::String(m_runtime.Err().description));
                break;
            case Op::ErrSource:
                m_stack.push_back(Value::String(m_runtime.Err().source));
                break;
            case Op::ErrClear:
                m_runtime.ClearErr();
                break;
            case Op::ErrRaise: {
                const std::size_t first = m_stack.size() - static_cast<std::size_t>(in.b);
                const int number = ToLong(m_stack[first]);
                const auto text = [&](std::size_t i, std::wstring fallback) {
                    return static_cast<int>(i) < in.b && !m_stack[first + i].IsEmpty()
                               ? ToString(m_stack[first + i])
                               : fallback;
                };
                m_runtime.Err().source = text(1, L"");
                const std::wstring description = text(2, StandardErrorDescription(number));
                m_stack.resize(first);
                throw ScriptError{number, description};
            }
            case Op::Raise:
                RaiseError(in.a);
            }
        }
    } catch (...) {
        m_stepsLeft = steps;
        m_frames.back().pc = pc;
        throw;
    }
}

} // namespace vbs
