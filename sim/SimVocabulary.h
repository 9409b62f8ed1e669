#pragma once
/// The simulated controller's own function table. It is kept apart from the program's catalogue
/// on purpose: a name misspelt on either side then shows up as unknown instead of matching itself.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace r73::sim {

/// How a function moves data, derived from its name.
enum class FunctionKind {
    Get,          ///< "GET": host sends a word for the next setter
    Put,          ///< "PUT": controller answers the front of the value FIFO
    StrGet,       ///< "STRGET": host sends a string for the next string setter
    StrPut,       ///< "STRPUT": controller answers the front of the string FIFO
    ValueGetter,  ///< "@X", "X@", "X?": pushes value(s) onto the value FIFO
    ValueSetter,  ///< "!X": consumes the last GET value
    StringGetter, ///< "READ_X": pushes a string onto the string FIFO
    StringSetter, ///< "WRITE_X": consumes the last STRGET string
    Command,      ///< anything else
};

struct SimFunction
{
    QString name;
    quint16 id = 0;
    quint16 sinceBios = 0; ///< first BIOS version word that knows the name
    FunctionKind kind = FunctionKind::Command;
};

/// The names one BIOS version knows. Ids are fixed across versions (0x1100 + position in the full
/// table), so the high byte always needs escaping and some low bytes do too.
class SimVocabulary
{
public:
    /// Id of the name-lookup function, answered by the handshake; both bytes need escaping.
    static constexpr quint16 SessionId = 0x1B13;
    static constexpr quint16 FirstFunctionId = 0x1100;

    explicit SimVocabulary(quint16 bios);

    quint16 bios() const { return m_bios; }
    /// nullptr when this BIOS does not know the name or id.
    const SimFunction* byName(const QString& name) const;
    const SimFunction* byId(quint16 id) const;
    /// 0 when unknown.
    quint16 idOf(const QString& name) const;
    QStringList names() const;

    /// Every name of every version, in id order.
    static const QList<SimFunction>& fullTable();
    static FunctionKind kindOf(const QString& name);

private:
    quint16 m_bios;
    QHash<QString, int> m_index; // name -> position in fullTable(), this version only
};

} // namespace r73::sim
