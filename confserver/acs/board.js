// The whiteboard page: a drawing surface over the board of one meeting,
// kept on this server in board coordinates, so every page shows the same
// picture at its own size. The desktop client drives it through the global
// functions below and hears from it through "qtWebObj" on the page's web
// channel; in a plain browser it is a board all the same.
"use strict";

(function () {
    const BOARD_WIDTH = 1920;
    const BOARD_HEIGHT = 1080;
    // Line widths in board units for the widths 1 to 4 the client chooses.
    const WIDTHS = {
        pencil: [3, 5, 8, 12],
        nitePen: [12, 18, 24, 32],
        eraser: [16, 24, 32, 48],
    };
    const MARKER_ALPHA = 0.5;
    const FRAME_COLOUR = "#2a2a2a";
    // A page waits this long for the next change of the board.
    const POLL_WAIT_MS = 20000;
    const LONGEST_RETRY_MS = 2000;

    const jwt = new URLSearchParams(window.location.search).get("jwt") || "";

    const state = {
        connected: false,
        started: false,
        tool: "pencil",
        color: { r: 0, g: 0, b: 0, a: 1 },
        width: 1,
        background: "white",
    };

    let bridge = null;
    let announced = false; // boardConnected was called for this load
    let expired = false;
    let stopped = false;
    let poller = null; // the AbortController of the running poll
    let failures = 0;
    let epoch = "";
    let revision = 0;
    let ids = [];
    let known = new Map(); // stroke id -> stroke
    let pending = []; // strokes of this page the server has not listed yet
    let live = null; // the stroke being drawn
    let backgroundHold = null; // {value, revision}: a background asked for, not yet on the board
    let picture = null;
    let pictureVersion = 0;
    let drawQueued = false;

    let canvas = null;
    let ink = null;
    let view = { scale: 1, left: 0, top: 0 };

    // ---- talking to the client and the server ----------------------------

    function log(text) {
        if (bridge) {
            bridge.webLog(String(text));
        } else {
            console.log(String(text));
        }
    }

    function showNotice(text) {
        const notice = document.getElementById("notice");
        if (notice) {
            notice.textContent = text;
            notice.hidden = false;
        }
    }

    function stopPolling() {
        if (poller) {
            poller.abort();
            poller = null;
        }
    }

    // The token was refused: tell the client once and stop.
    function expire() {
        if (expired) {
            return;
        }
        expired = true;
        state.connected = false;
        stopPolling();
        showNotice("session expired");
        log("whiteboard token refused: session expired");
        if (bridge) {
            bridge.tokenExpired();
        }
    }

    class RequestError extends Error {
        constructor(status, message) {
            super(message);
            this.status = status;
        }
    }

    function request(method, path, body, signal) {
        const init = { method: method, cache: "no-store", headers: { Authorization: "Bearer " + jwt } };
        if (body !== undefined) {
            init.headers["Content-Type"] = "application/json";
            init.body = JSON.stringify(body);
        }
        if (signal) {
            init.signal = signal;
        }
        return fetch(path, init).then(function (reply) {
            if (reply.status === 401) {
                expire();
                throw new RequestError(401, "token refused");
            }
            if (!reply.ok) {
                throw new RequestError(reply.status, "status " + reply.status);
            }
            return reply.json();
        });
    }

    // Sends a change of the board; false when this page no longer may.
    function send(name, method, path, body) {
        if (expired || stopped || !state.connected) {
            log(name + " ignored: the board is not connected");
            return null;
        }
        return request(method, path, body).catch(function (error) {
            if (error.status !== 401) {
                log(name + " failed: " + error.message);
            }
            throw error;
        });
    }

    // The board as of `revision`: the server answers a large one in parts,
    // each after the last stroke of the one before, and the last part
    // tells the board's state.
    function readBoard(wait, signal) {
        const base = "board?since=" + revision + "&epoch=" + encodeURIComponent(epoch);
        function rest(board) {
            const last = board.strokes[board.strokes.length - 1];
            if (!board.more || !last) {
                return board;
            }
            return request("GET", base + "&wait=0&after=" + last.id, undefined, signal).then(function (part) {
                if (part.epoch !== board.epoch) {
                    throw new RequestError(0, "the server restarted while the board was read");
                }
                part.full = board.full;
                part.strokes = board.strokes.concat(part.strokes);
                return rest(part);
            });
        }
        return request("GET", base + "&wait=" + wait, undefined, signal).then(rest);
    }

    function poll() {
        if (expired || stopped) {
            return;
        }
        poller = new AbortController();
        const wait = state.connected ? POLL_WAIT_MS : 0;
        readBoard(wait, poller.signal).then(
            function (board) {
                if (stopped || expired) {
                    return;
                }
                applyBoard(board);
                failures = 0;
                if (!state.connected) {
                    state.connected = true;
                    log("board connected: " + ids.length + " strokes, background " + state.background);
                    if (!announced) {
                        announced = true;
                        if (bridge) {
                            bridge.boardConnected();
                        }
                    }
                }
                poll();
            },
            function (error) {
                if (stopped || expired || error.name === "AbortError") {
                    return;
                }
                if (error.status === 429) {
                    // The server has too many pages waiting: ask again later, still connected.
                    setTimeout(poll, LONGEST_RETRY_MS);
                    return;
                }
                failures += 1;
                state.connected = false;
                log("board request failed: " + error.message);
                setTimeout(poll, Math.min(100 * failures, LONGEST_RETRY_MS));
            }
        );
    }

    function sameStroke(one, other) {
        return (
            one.tool === other.tool &&
            one.width === other.width &&
            one.points.length === other.points.length &&
            one.points.every(function (value, i) {
                return value === other.points[i];
            })
        );
    }

    function applyBoard(board) {
        if (board.full || board.epoch !== epoch) {
            known = new Map();
        }
        epoch = board.epoch;
        revision = board.revision;
        board.strokes.forEach(function (stroke) {
            known.set(stroke.id, stroke);
        });
        ids = board.ids.filter(function (id) {
            return known.has(id);
        });
        const listed = new Set(ids);
        known.forEach(function (stroke, id) {
            if (!listed.has(id)) {
                known.delete(id);
            }
        });
        // A stroke of this page is on the board from the revision that added
        // it. One still being saved may come back with the board before the
        // server's answer to the saving: the same tool, width and points.
        const arrived = board.strokes.slice();
        pending = pending.filter(function (stroke) {
            if (stroke.revision !== undefined) {
                return stroke.revision > revision;
            }
            const match = arrived.findIndex(function (other) {
                return sameStroke(stroke, other);
            });
            if (match < 0) {
                return true;
            }
            arrived.splice(match, 1);
            return false;
        });
        state.started = state.started || board.started;
        if (backgroundHold && board.revision >= backgroundHold.revision) {
            backgroundHold = null;
        }
        state.background = backgroundHold ? backgroundHold.value : board.background;
        // A picture is decoded only to be shown: one that is not the
        // background costs no memory.
        if (state.background !== "img") {
            picture = null;
            pictureVersion = 0;
        } else if (board.pictureVersion !== pictureVersion) {
            loadPicture(board.pictureVersion);
        }
        queueDraw();
    }

    function loadPicture(version) {
        pictureVersion = version;
        fetch("background", { cache: "no-store", headers: { Authorization: "Bearer " + jwt } })
            .then(function (reply) {
                if (reply.status === 401) {
                    expire();
                }
                if (!reply.ok) {
                    throw new Error("status " + reply.status);
                }
                return reply.blob();
            })
            .then(function (blob) {
                return createImageBitmap(blob);
            })
            .then(function (bitmap) {
                if (version === pictureVersion) {
                    picture = bitmap;
                    queueDraw();
                }
            })
            .catch(function (error) {
                log("background picture failed: " + error.message);
            });
    }

    // ---- drawing ---------------------------------------------------------

    function queueDraw() {
        if (drawQueued || !canvas) {
            return;
        }
        drawQueued = true;
        window.requestAnimationFrame(function () {
            drawQueued = false;
            draw();
        });
    }

    function fitView() {
        const ratio = window.devicePixelRatio || 1;
        const width = Math.max(1, Math.round(window.innerWidth * ratio));
        const height = Math.max(1, Math.round(window.innerHeight * ratio));
        if (canvas.width !== width || canvas.height !== height) {
            canvas.width = width;
            canvas.height = height;
            ink.width = width;
            ink.height = height;
        }
        const scale = Math.min(width / BOARD_WIDTH, height / BOARD_HEIGHT);
        view = {
            scale: scale,
            left: (width - BOARD_WIDTH * scale) / 2,
            top: (height - BOARD_HEIGHT * scale) / 2,
        };
    }

    function visibleStrokes() {
        const strokes = ids.map(function (id) {
            return known.get(id);
        });
        return live ? strokes.concat(pending, [live]) : strokes.concat(pending);
    }

    function strokeWidth(stroke) {
        const widths = WIDTHS[stroke.tool] || WIDTHS.pencil;
        return widths[Math.min(Math.max(stroke.width, 1), 4) - 1];
    }

    function drawStroke(context, stroke) {
        const points = stroke.points;
        context.save();
        context.lineCap = "round";
        context.lineJoin = "round";
        context.lineWidth = strokeWidth(stroke);
        if (stroke.tool === "eraser") {
            context.globalCompositeOperation = "destination-out";
            context.strokeStyle = "#000000";
            context.fillStyle = "#000000";
        } else {
            const color = stroke.color;
            const alpha = stroke.tool === "nitePen" ? MARKER_ALPHA : color.a;
            const css = "rgba(" + color.r + "," + color.g + "," + color.b + "," + alpha + ")";
            context.strokeStyle = css;
            context.fillStyle = css;
        }
        if (points.length === 2) {
            context.beginPath();
            context.arc(points[0], points[1], context.lineWidth / 2, 0, 2 * Math.PI);
            context.fill();
        } else {
            context.beginPath();
            context.moveTo(points[0], points[1]);
            for (let i = 2; i < points.length; i += 2) {
                context.lineTo(points[i], points[i + 1]);
            }
            context.stroke();
        }
        context.restore();
    }

    function backgroundColour() {
        return state.background === "black" ? "#000000" : "#ffffff";
    }

    function draw() {
        fitView();
        const boardWidth = BOARD_WIDTH * view.scale;
        const boardHeight = BOARD_HEIGHT * view.scale;

        const inkContext = ink.getContext("2d");
        inkContext.setTransform(1, 0, 0, 1, 0, 0);
        inkContext.clearRect(0, 0, ink.width, ink.height);
        inkContext.setTransform(view.scale, 0, 0, view.scale, view.left, view.top);
        visibleStrokes().forEach(function (stroke) {
            drawStroke(inkContext, stroke);
        });

        const context = canvas.getContext("2d");
        context.setTransform(1, 0, 0, 1, 0, 0);
        context.fillStyle = FRAME_COLOUR;
        context.fillRect(0, 0, canvas.width, canvas.height);
        context.fillStyle = backgroundColour();
        context.fillRect(view.left, view.top, boardWidth, boardHeight);
        if (state.background === "img" && picture) {
            // The picture whole, as large as the board allows, centred.
            const fit = Math.min(boardWidth / picture.width, boardHeight / picture.height);
            const width = picture.width * fit;
            const height = picture.height * fit;
            context.drawImage(picture, view.left + (boardWidth - width) / 2, view.top + (boardHeight - height) / 2,
                              width, height);
        }
        context.save();
        context.beginPath();
        context.rect(view.left, view.top, boardWidth, boardHeight);
        context.clip();
        context.drawImage(ink, 0, 0);
        context.restore();
    }

    function boardPoint(event) {
        const ratio = window.devicePixelRatio || 1;
        const x = (event.clientX * ratio - view.left) / view.scale;
        const y = (event.clientY * ratio - view.top) / view.scale;
        return [
            Math.round(Math.min(Math.max(x, 0), BOARD_WIDTH) * 10) / 10,
            Math.round(Math.min(Math.max(y, 0), BOARD_HEIGHT) * 10) / 10,
        ];
    }

    function onPress(event) {
        if (event.button !== 0 || !state.connected || stopped || expired) {
            return;
        }
        try {
            canvas.setPointerCapture(event.pointerId);
        } catch (error) {
            // A pointer the browser does not know (a synthetic one): drawing goes on without capture.
        }
        live = {
            tool: state.tool,
            color: Object.assign({}, state.color),
            width: state.width,
            points: boardPoint(event),
        };
        queueDraw();
    }

    function onMove(event) {
        if (!live) {
            return;
        }
        const point = boardPoint(event);
        const points = live.points;
        const last = points.length - 2;
        if (Math.abs(points[last] - point[0]) < 1 && Math.abs(points[last + 1] - point[1]) < 1) {
            return;
        }
        points.push(point[0], point[1]);
        queueDraw();
    }

    function onRelease(event) {
        if (!live) {
            return;
        }
        onMove(event);
        const stroke = live;
        live = null;
        if (!state.connected || stopped || expired) {
            queueDraw();
            return;
        }
        pending.push(stroke);
        queueDraw();
        const body = { tool: stroke.tool, width: stroke.width, points: stroke.points };
        if (stroke.tool !== "eraser") {
            body.color = stroke.color;
        }
        request("POST", "strokes", body).then(
            function (reply) {
                stroke.id = reply.id;
                stroke.revision = reply.revision;
                if (reply.revision <= revision) {
                    pending = pending.filter(function (other) {
                        return other !== stroke;
                    });
                }
                queueDraw();
            },
            function (error) {
                pending = pending.filter(function (other) {
                    return other !== stroke;
                });
                if (error.status !== 401) {
                    log("stroke not saved: " + error.message);
                }
                queueDraw();
            }
        );
    }

    // ---- what the client calls ------------------------------------------

    function isColorPart(value) {
        return Number.isInteger(value) && value >= 0 && value <= 255;
    }

    // A JSON text {"r", "g", "b", "a"}: r, g, b 0 to 255, a 0 to 1.
    window.changeColor = function (text) {
        let color = null;
        try {
            color = typeof text === "string" ? JSON.parse(text) : null;
        } catch (error) {
            color = null;
        }
        const alpha = color && color.a === undefined ? 1 : color && color.a;
        if (!color || !isColorPart(color.r) || !isColorPart(color.g) || !isColorPart(color.b) ||
            typeof alpha !== "number" || !(alpha >= 0 && alpha <= 1)) {
            log("changeColor ignored: " + String(text).slice(0, 200));
            return;
        }
        state.color = { r: color.r, g: color.g, b: color.b, a: alpha };
    };

    window.lineWight = function (width) {
        if (!Number.isInteger(width) || width < 1 || width > 4) {
            log("lineWight ignored: " + String(width).slice(0, 200));
            return;
        }
        state.width = width;
    };

    // 'pencil': opaque; 'nitePen': the marker, translucent and wider.
    window.pencil = function (kind) {
        if (kind !== "pencil" && kind !== "nitePen") {
            log("pencil ignored: " + String(kind).slice(0, 200));
            return;
        }
        state.tool = kind;
    };

    window.eraser = function () {
        state.tool = "eraser";
    };

    window.undoLastOperation = function () {
        const sent = send("undoLastOperation", "POST", "undo");
        if (sent) {
            sent.then(function (reply) {
                if (reply.undone === null) {
                    log("undoLastOperation: nothing of this participant to undo");
                }
            }, function () {});
        }
    };

    window.clearProject = function () {
        const sent = send("clearProject", "POST", "clear");
        if (sent) {
            pending = [];
            sent.catch(function () {});
        }
    };

    window.changeBackground = function (kind) {
        if (kind !== "black" && kind !== "white" && kind !== "img") {
            log("changeBackground ignored: " + String(kind).slice(0, 200));
            return;
        }
        const sent = send("changeBackground", "PUT", "background", { background: kind });
        if (!sent) {
            return;
        }
        const hold = { value: kind, revision: Infinity };
        backgroundHold = hold;
        state.background = kind;
        queueDraw();
        sent.then(
            function (reply) {
                hold.revision = reply.revision;
            },
            function () {
                if (backgroundHold === hold) {
                    backgroundHold = null;
                    revision = 0; // read the board's own background again
                    stopPolling();
                    poll();
                }
            }
        );
    };

    window.startBoard = function () {
        const sent = send("startBoard", "POST", "start");
        if (sent) {
            state.started = true;
            sent.catch(function () {});
        }
    };

    // Stops sending and polling for good; the page stays as it is.
    window.disconnect = function () {
        if (stopped) {
            log("disconnect ignored: already disconnected");
            return;
        }
        stopped = true;
        state.connected = false;
        live = null;
        stopPolling();
        log("board disconnected");
        if (bridge) {
            bridge.clearCache();
        }
    };

    // ---- for tests --------------------------------------------------------

    window.boardState = function () {
        return {
            connected: state.connected,
            started: state.started,
            tool: state.tool,
            color: Object.assign({}, state.color),
            width: state.width,
            background: state.background,
            strokes: ids
                .map(function (id) {
                    return known.get(id);
                })
                .concat(pending)
                .map(function (stroke) {
                    return {
                        id: stroke.id === undefined ? null : stroke.id,
                        tool: stroke.tool,
                        color: stroke.color ? Object.assign({}, stroke.color) : null,
                        width: stroke.width,
                        points: stroke.points.slice(),
                    };
                }),
            drawing: live !== null,
            expired: expired,
            revision: revision,
            pictureLoaded: picture !== null,
        };
    };

    window.exportPicture = function () {
        if (!canvas) {
            return "";
        }
        draw();
        return canvas.toDataURL("image/png");
    };

    // ---- start -------------------------------------------------------------

    function start() {
        canvas = document.getElementById("board");
        ink = document.createElement("canvas");
        canvas.addEventListener("pointerdown", onPress);
        canvas.addEventListener("pointermove", onMove);
        canvas.addEventListener("pointerup", onRelease);
        canvas.addEventListener("pointercancel", onRelease);
        window.addEventListener("resize", queueDraw);
        queueDraw();
        const connect = function () {
            log("connecting to the whiteboard of this meeting");
            poll();
        };
        if (window.qt && window.qt.webChannelTransport && window.QWebChannel) {
            new QWebChannel(window.qt.webChannelTransport, function (channel) {
                bridge = channel.objects.qtWebObj || null;
                connect();
            });
        } else {
            connect();
        }
    }

    if (document.readyState === "loading") {
        document.addEventListener("DOMContentLoaded", start);
    } else {
        start();
    }
})();
