#pragma once

// A web server on 127.0.0.1 for the update tests. It answers each path from a table
// (unknown paths get 404), records the paths asked for, and misbehaves on request:
// answers late, drops the connection, or closes it in the middle of the body.

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

class LoopbackHttpServer : public QObject {
public:
    enum class Behaviour {
        Answer,
        Drop,          // close the connection without a word
        CloseMidBody,  // announce more body than is sent, then close
    };
    struct Route {
        int status = 200;
        QByteArray reason = "OK";
        QByteArray body = {};
        Behaviour behaviour = Behaviour::Answer;
        int delayMs = 0;    // before the answer starts
        int trickleMs = 0;  // when set, the body goes out in five pieces this far apart
    };

    LoopbackHttpServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, &LoopbackHttpServer::accept);
    }

    QString baseAddress() const {
        return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort());
    }
    QString url(const QString& path) const { return baseAddress() + path; }

    void answer(const QString& path, const QByteArray& body) { routes[path] = Route{.body = body}; }
    void route(const QString& path, const Route& route) { routes[path] = route; }

    // An address on 127.0.0.1 where nothing listens.
    static QString deadAddress() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const quint16 port = probe.serverPort();
        probe.close();
        return QStringLiteral("http://127.0.0.1:%1").arg(port);
    }

    QHash<QString, Route> routes;
    // The paths of the requests, in order of arrival.
    QStringList requests;

private:
    void accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        }
    }

    void read(QTcpSocket* socket) {
        QByteArray& pending = pending_[socket];
        pending += socket->readAll();
        const qsizetype end = pending.indexOf("\r\n\r\n");
        if (end < 0) return;
        const QList<QByteArray> requestLine = pending.left(pending.indexOf("\r\n")).split(' ');
        pending_.remove(socket);
        const QString path =
            requestLine.size() > 1 ? QString::fromLatin1(requestLine[1]) : QString();
        requests.append(path);
        const Route route =
            routes.value(path, Route{.status = 404,
                                     .reason = "Not Found",
                                     .body = "<html><body>Not Found</body></html>"});
        QPointer<QTcpSocket> guarded(socket);
        QTimer::singleShot(route.delayMs, this, [guarded, route] {
            if (guarded) respond(guarded, route);
        });
    }

    static void respond(QTcpSocket* socket, const Route& route) {
        if (route.behaviour == Behaviour::Drop) {
            socket->abort();
            return;
        }
        const qsizetype announced =
            route.body.size() + (route.behaviour == Behaviour::CloseMidBody ? 100 : 0);
        socket->write("HTTP/1.1 " + QByteArray::number(route.status) + ' ' + route.reason +
                      "\r\nContent-Type: text/plain\r\nContent-Length: " +
                      QByteArray::number(announced) + "\r\nConnection: close\r\n\r\n");
        if (route.trickleMs <= 0) {
            socket->write(route.body);
            socket->disconnectFromHost();
            return;
        }
        trickle(socket, route.body, 5, route.trickleMs);
    }

    static void trickle(QTcpSocket* socket, QByteArray rest, int pieces, int gapMs) {
        const qsizetype size = pieces > 1 ? rest.size() / pieces : rest.size();
        socket->write(rest.left(size));
        socket->flush();
        if (pieces <= 1) {
            socket->disconnectFromHost();
            return;
        }
        QPointer<QTcpSocket> guarded(socket);
        QTimer::singleShot(gapMs, socket, [guarded, rest = rest.mid(size), pieces, gapMs] {
            if (guarded) trickle(guarded, rest, pieces - 1, gapMs);
        });
    }

    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> pending_;
};
