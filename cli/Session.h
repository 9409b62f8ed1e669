#pragma once
/// A connected controller for the commands that read or write settings: the session opened and
/// identified as "identify" does, then the functions of the BIOS version registered in the
/// program's order. Calls are made with the pages' location codes; the first failure is kept.

#include "Exchanger.h"
#include "Identify.h"

#include <memory>

namespace r73::cli {

class Session : public Exchanger
{
public:
    Session();
    ~Session() override;
    /// False with a one-line reason in error.
    bool open(QString& error);
    TTarget* link() const override { return m_link.get(); }
    void CommErr(quint16, quint16) override {}
    const Identity& identity() const { return m_id; }
    /// The reason of a failed call, in one line.
    QString failure() const;

private:
    std::unique_ptr<TTarget> m_link;
    Identity m_id;
};

} // namespace r73::cli
