#include <type_traits>
#include <typeinfo>

#include "vbscript/inline_buffer.h"
#include "vbscript/regexp.h"
#include "vbscript/script_error.h"
#include "vbscript/vm.h"
#include "vbscript/vm_frames.h"
#include "vbscript/vm_values.h"

namespace vbs {

using namespace vm_values;

namespace {

// Arguments most member calls pass; more go to the heap.
constexpr std::size_t kFewArguments = 4;

// The script's own object kinds are final classes: the exact type tells them apart at the
// cost of a compare, where a cast would walk the class hierarchy of every host object.
template <class T> T* AsFinal(Object* object) {
    static_assert(std::is_final_v<T>);
    return object && typeid(*object) == typeid(T) ? static_cast<T*>(object) : nullptr;
}

} // namespace

namespace vm_values {

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

[[noreturn]] void NoMember(int number, std::wstring_view name) {
    throw ScriptError{number,
                      StandardErrorDescription(number) + L": '" + std::wstring(name) + L"'"};
}

} // namespace vm_values

const ClassInfo::Member& Vm::FindMember(const ClassInfo& info, std::wstring_view name) {
    auto it = info.members.find(name.empty() ? std::wstring_view(info.defaultMember) : name);
    // Private members answer only to the class's own procedures.
    if (it == info.members.end() || (!it->second.isPublic && m_frames.back().proc->owner != &info))
        NoMember(err::NoSuchMember, name);
    return it->second;
}

// A member that stored into a field or took arguments may have let the last reference to an
// instance go: its Class_Terminate runs before the next step.
Vm::StepEnd Vm::MemberInstruction(const Instr& in, Frame& frame, std::size_t baseDepth) {
    const std::wstring_view name = frame.proc->constants[static_cast<std::size_t>(in.a)].AsString();
    const auto access = static_cast<Access>(in.c);
    const auto argc = static_cast<std::size_t>(in.b);
    const bool pushed = in.op == Op::Member ? MemberCall(name, access, argc, baseDepth)
                                            : MemberStore(name, access, argc, baseDepth);
    return pushed ? StepEnd::FramePushed : StepEnd::SafePoint;
}

bool Vm::MemberCall(std::wstring_view name,
                    Access access,
                    std::size_t argc,
                    std::size_t baseDepth) {
    const std::size_t first = m_stack.size() - argc;
    Value object = std::move(m_stack[first - 1]);
    // A variable used as a statement: only an object has a default member to invoke.
    if (name.empty() && access == Access::Call && object.Type() != VarType::Object)
        RaiseError(err::TypeMismatch);
    if (object.Type() == VarType::Array && name.empty()) {
        const Array& array = *object.AsArray();
        Value element = array.At(array.FlatIndex(Subscripts(first)));
        m_stack.resize(first - 1);
        m_argRefs.resize(m_argRefs.size() - argc);
        m_stack.push_back(std::move(element));
        return false;
    }
    // Nothing has no members: the same Object required as for a value that is no object.
    if (object.Type() != VarType::Object || !object.AsObject())
        NoMember(err::ObjectRequired, name);
    Object* target = object.AsObject();
    if (auto* instance = AsFinal<ClassInstance>(target)) {
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
        EnterCall(*info.procedures[static_cast<std::size_t>(proc)],
                  argc,
                  true,
                  std::move(object),
                  false,
                  baseDepth);
        return true;
    }
    if (auto* ref = AsFinal<ProcedureRef>(target);
        ref && name.empty() && ref->MadeBy(m_instances)) {
        m_stack.erase(m_stack.begin() + static_cast<std::ptrdiff_t>(first - 1));
        EnterCall(*m_scope.procedures[static_cast<std::size_t>(ref->Procedure())],
                  argc,
                  true,
                  Value(),
                  false,
                  baseDepth);
        return true;
    }
    // Moved out, the places too, so locked arrays stay alive until the written-back values
    // are stored; a few of each stay on the stack.
    InlineBuffer<Value, kFewArguments> argBuffer;
    InlineBuffer<ArgPlace, kFewArguments> refBuffer;
    argBuffer.Reserve(argc);
    refBuffer.Reserve(argc);
    for (std::size_t i = first; i < m_stack.size(); ++i)
        argBuffer.PushBack(std::move(m_stack[i]));
    for (std::size_t i = m_argRefs.size() - argc; i < m_argRefs.size(); ++i)
        refBuffer.PushBack(std::move(m_argRefs[i]));
    m_stack.resize(first - 1);
    m_argRefs.resize(m_argRefs.size() - argc);
    const std::span<Value> args = argBuffer.Items();
    const std::span<ArgPlace> refs = refBuffer.Items();
    Value result = target->Invoke(name, access, args);
    for (std::size_t i = 0; i < argc; ++i)
        if (refs[i].ref)
            *refs[i].ref = std::move(args[i]);
    m_stack.push_back(std::move(result));
    return false;
}

bool Vm::MemberStore(std::wstring_view name,
                     Access access,
                     std::size_t argc,
                     std::size_t baseDepth) {
    Value value = std::move(m_stack.back());
    m_stack.pop_back();
    if (access == Access::Set && value.Type() != VarType::Object)
        RaiseError(err::ObjectRequired);
    // Let stores a value: an object's default property. A Property Let procedure gets an
    // object as it is (it may ask IsObject, and its own Let of it takes the default).
    const auto letValue = [&] {
        if (access == Access::Set)
            return;
        ResolveDefault(value);
        LetValue(value);
    };
    const std::size_t first = m_stack.size() - argc;
    Value object = std::move(m_stack[first - 1]);
    // Nothing has no members: the same Object required as for a value that is no object.
    if (object.Type() != VarType::Object || !object.AsObject())
        NoMember(err::ObjectRequired, name);
    Object* target = object.AsObject();
    if (auto* instance = AsFinal<ClassInstance>(target)) {
        const ClassInfo& info = instance->Info();
        const ClassInfo::Member& member = FindMember(info, name);
        if (member.field >= 0) {
            letValue();
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
        EnterCall(*info.procedures[static_cast<std::size_t>(proc)],
                  argc + 1,
                  false,
                  std::move(object),
                  true,
                  baseDepth);
        return true;
    }
    letValue();
    std::vector<Value> args(
        std::make_move_iterator(m_stack.begin() + static_cast<std::ptrdiff_t>(first)),
        std::make_move_iterator(m_stack.end()));
    args.push_back(std::move(value));
    m_stack.resize(first - 1);
    target->Invoke(name, access, args);
    return false;
}

bool Vm::CallDefaultMember(const Value& object, std::size_t argc, std::size_t baseDepth) {
    m_stack.insert(m_stack.end() - static_cast<std::ptrdiff_t>(argc), object);
    m_argRefs.resize(m_argRefs.size() + argc);
    return MemberCall(L"", Access::Get, argc, baseDepth);
}

bool Vm::StoreDefaultMember(const Value& object,
                            std::size_t argc,
                            Access access,
                            std::size_t baseDepth) {
    m_stack.insert(m_stack.end() - static_cast<std::ptrdiff_t>(argc + 1), object);
    return MemberStore(L"", access, argc, baseDepth);
}

Vm::StepEnd Vm::FusedWithObjects(const Instr& in, Frame& frame) {
    Value left = Operand(frame, in.b);
    Value right = Operand(frame, in.c);
    ResolveDefault(left);
    ResolveDefault(right);
    const auto op = static_cast<FusedOp>(in.x);
    Value result = op == FusedOp::Multiply ? Multiply(left, right)
                   : op == FusedOp::Add    ? Add(left, right)
                                           : Subtract(left, right);
    if (in.op == Op::BinaryPush) {
        m_stack.push_back(std::move(result));
        return StepEnd::Done;
    }
    Variable(frame, in.a) = std::move(result);
    return StepEnd::SafePoint;
}

bool Vm::CompareWithObjects(Comparison op,
                            const Value& leftOperand,
                            const Value& rightOperand,
                            OperandOrigin origin) {
    Value left = leftOperand;
    Value right = rightOperand;
    ResolveDefault(left);
    ResolveDefault(right);
    return IsTrue(Compare(op, left, right, origin));
}

Vm::StepEnd Vm::AppendInOrder(const Instr& in, Frame& frame) {
    const std::size_t first = m_stack.size() - static_cast<std::size_t>(in.b);
    Value result = in.c < 0 ? Variable(frame, in.a) : std::move(frame.locals[in.c]);
    ResolveDefault(result);
    for (std::size_t i = first; i < m_stack.size(); ++i) {
        ResolveDefault(m_stack[i]);
        result = Concatenate(std::move(result), m_stack[i]);
    }
    m_stack.resize(first);
    Variable(frame, in.a) = std::move(result);
    return StepEnd::SafePoint;
}

Vm::StepEnd Vm::MoveDefaultValue(const Instr& in, Frame& frame) {
    Value value = Operand(frame, in.b);
    ResolveDefault(value);
    LetValue(value);
    Variable(frame, in.a) = std::move(value);
    return StepEnd::SafePoint;
}

bool Vm::New(const std::wstring& className, std::size_t baseDepth) {
    auto it = m_scope.classes.find(className);
    // The built-in class; a script's own class of that name comes first, as it is found
    // above.
    if (it == m_scope.classes.end() && className == L"regexp") {
        m_stack.push_back(Value::FromObject(new RegExp));
        return false;
    }
    if (it == m_scope.classes.end())
        throw ScriptError{506, L"Class not defined: '" + className + L"'"};
    const std::shared_ptr<ClassInfo>& info = it->second;
    Value instance = Value::FromObject(new ClassInstance(info, &m_heap, m_instances));
    m_stack.push_back(instance);
    if (info->initialize < 0)
        return false;
    EnterCall(*info->procedures[static_cast<std::size_t>(info->initialize)],
              0,
              false,
              std::move(instance),
              true,
              baseDepth);
    return true;
}

bool Vm::StartTerminate(std::size_t baseDepth) {
    while (!m_heap.terminating.empty()) {
        ClassInstance* due = m_heap.terminating.back();
        m_heap.terminating.pop_back();
        Value me = Value::FromObject(due);
        due->Release(); // the queue's reference; `me` holds it now
        const auto& info = due->Info();
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
    if (v.Type() != VarType::Object || !v.AsObject())
        return;
    Procedure* property = nullptr;
    Value me;
    if (auto* ref = AsFinal<ProcedureRef>(v.AsObject()); ref && ref->MadeBy(m_instances)) {
        // GetRef's object used as a value calls its procedure.
        property = m_scope.procedures[static_cast<std::size_t>(ref->Procedure())].get();
    } else if (auto* instance = AsFinal<ClassInstance>(v.AsObject())) {
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
        property = info.procedures[static_cast<std::size_t>(index)].get();
        me = v;
    } else {
        return;
    }
    Procedure& proc = *property;
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
    Value result = RunFrame(proc, nullptr, {}, std::move(me));
    v = std::move(result);
}

void Vm::ResolveValues(std::span<Value> values, Frame& frame, std::int32_t pc) {
    frame.pc = pc;
    for (Value& v : values)
        ResolveDefault(v);
}

} // namespace vbs
