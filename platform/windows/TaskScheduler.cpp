#include "platform/windows/TaskScheduler.h"

#include <windows.h>
// after windows.h, which it needs
#include <taskschd.h>

#include "platform/windows/Com.h"
#include "platform/windows/TaskXml.h"

namespace vidor::platform::windows {

namespace {

// The Task Scheduler's root folder, or the reason it cannot be reached.
struct Connection {
    ComApartment apartment;
    ComPtr<ITaskService> service;
    ComPtr<ITaskFolder> root;
    std::string error;

    Connection() {
        HRESULT result = ::CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_ITaskService, &service);
        VARIANT none;
        ::VariantInit(&none);
        if (SUCCEEDED(result)) result = service->Connect(none, none, none, none);
        if (SUCCEEDED(result)) result = service->GetFolder(Bstr("\\"), &root);
        if (FAILED(result)) error = comFailure("le planificateur de tâches ne répond pas", result);
    }

    // True when the scheduler answers; else false, with `failure` saying why.
    bool reached(std::string& failure) const {
        if (error.empty()) return true;
        failure = error;
        return false;
    }
};

// True when `result` succeeded; else false, with `error` saying what failed and why.
bool succeeded(HRESULT result, const std::string& what, std::string& error) {
    if (SUCCEEDED(result)) return true;
    error = comFailure(what, result);
    return false;
}

std::string whereOf(const std::string& name) {
    return "tâche planifiée « " + name + " » de Windows";
}

// What `definition` runs and when.
Schedule scheduleOf(ITaskDefinition& definition, const std::string& where) {
    Schedule schedule{std::nullopt, {}, where};
    ComPtr<ITriggerCollection> triggers;
    ComPtr<ITrigger> trigger;
    LONG count = 0;
    TASK_TRIGGER_TYPE2 type = TASK_TRIGGER_EVENT;
    if (SUCCEEDED(definition.get_Triggers(&triggers)) && SUCCEEDED(triggers->get_Count(&count)) &&
        count == 1 && SUCCEEDED(triggers->get_Item(1, &trigger)) &&
        SUCCEEDED(trigger->get_Type(&type))) {
        if (type == TASK_TRIGGER_DAILY) schedule.frequency = Frequency::Daily;
        if (type == TASK_TRIGGER_WEEKLY) schedule.frequency = Frequency::Weekly;
    }
    ComPtr<IActionCollection> actions;
    ComPtr<IAction> action;
    ComPtr<IExecAction> exec;
    Bstr path, arguments;
    if (SUCCEEDED(definition.get_Actions(&actions)) && SUCCEEDED(actions->get_Item(1, &action)) &&
        SUCCEEDED(action.As(&exec)) && SUCCEEDED(exec->get_Path(path.out()))) {
        exec->get_Arguments(arguments.out());
        schedule.command = "\"" + path.utf8() + "\" " + arguments.utf8();
    }
    return schedule;
}

}  // namespace

bool TaskScheduler::schedule(Frequency frequency, const std::string& program,
                             const std::string& parameter, Schedule& done, std::string&,
                             std::string& error) {
    Connection connection;
    if (!connection.reached(error)) return false;
    ComPtr<IRegisteredTask> task;
    ComPtr<ITaskDefinition> definition;
    VARIANT none;
    ::VariantInit(&none);
    // No user named: the task is the registering user's, run in that user's session.
    HRESULT result = connection.root->RegisterTask(
        Bstr(name_), Bstr(taskXml(frequency, program, parameter)), TASK_CREATE_OR_UPDATE, none,
        none, TASK_LOGON_INTERACTIVE_TOKEN, none, &task);
    if (SUCCEEDED(result)) result = task->get_Definition(&definition);
    if (!succeeded(result, "la tâche \"" + name_ + "\" n'a pas pu être enregistrée", error))
        return false;
    done = scheduleOf(*definition.Get(), whereOf(name_));
    return true;
}

bool TaskScheduler::unschedule(std::optional<Schedule>& removed, std::string& error) {
    if (!find(removed, error)) return false;
    if (!removed) return true;
    Connection connection;
    if (!connection.reached(error)) return false;
    return succeeded(connection.root->DeleteTask(Bstr(name_), 0),
                     "la tâche \"" + name_ + "\" n'a pas pu être supprimée", error);
}

bool TaskScheduler::find(std::optional<Schedule>& found, std::string& error) {
    found.reset();
    Connection connection;
    if (!connection.reached(error)) return false;
    ComPtr<IRegisteredTask> task;
    ComPtr<ITaskDefinition> definition;
    HRESULT result = connection.root->GetTask(Bstr(name_), &task);
    if (result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) return true;
    if (SUCCEEDED(result)) result = task->get_Definition(&definition);
    if (!succeeded(result, "la tâche \"" + name_ + "\" ne peut pas être lue", error)) return false;
    found = scheduleOf(*definition.Get(), whereOf(name_));
    return true;
}

}  // namespace vidor::platform::windows
