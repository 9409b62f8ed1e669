#pragma once
/// What a backup reads from and a restore writes to: the controller over the link, with the
/// pages' own sequences and location codes, or (in demo mode) the demonstration values in
/// memory.

#include "Settings.h"

namespace r73 {
class Exchanger;
}

namespace r73::backup {

class Controller
{
public:
    virtual ~Controller();
    virtual Identity identity() const = 0;
    /// Every setting the BIOS offers, and the service values.
    virtual Snapshot read() = 0;
    /// Writes one setting with its page's send sequence; value is what is to be sent.
    virtual void write(const Setting& s, const Value& value) = 0;
    /// Raises the clamp-without-tool limit past the long limit as the page "SPANNEN" does.
    virtual void raiseWithoutTool(quint16 raised)
    {
        write(*settingOf(QStringLiteral("clamp.without_tool")), {raised, {}});
    }
    /// The permanent save of a set.
    virtual void save(SetId set) = 0;
    /// True once a call failed: the sequence stops there.
    virtual bool failed() const = 0;
};

/// The connected controller. Reads in the pages' order: clamping set, release set with the
/// hydraulic values, flat contact, vibration, service, then each channel as its page reads it.
class LinkController : public Controller
{
public:
    LinkController(Exchanger& exchanger, Identity id) : m_ex(exchanger), m_sets(exchanger), m_id(id)
    {}
    Identity identity() const override { return m_id; }
    Snapshot read() override;
    void write(const Setting& s, const Value& value) override;
    void raiseWithoutTool(quint16 raised) override { m_sets.raiseWithoutTool(raised); }
    void save(SetId set) override;
    bool failed() const override;

private:
    Exchanger& m_ex;
    TParamSets m_sets;
    Identity m_id;
};

/// Demo mode: the demonstration values, changed by what a restore writes.
class MemoryController : public Controller
{
public:
    explicit MemoryController(Snapshot values) : m_values(std::move(values)) {}
    Identity identity() const override { return m_values.id; }
    Snapshot read() override { return m_values; }
    void write(const Setting& s, const Value& value) override { m_values.values[s.key] = value; }
    void save(SetId) override {}
    bool failed() const override { return false; }

private:
    Snapshot m_values;
};

} // namespace r73::backup
