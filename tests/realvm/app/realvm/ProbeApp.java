package realvm;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.nio.file.StandardOpenOption;

/**
 * The application the real-VM cases start. It appends what it received to the file named by the
 * system property realvm.out, one line per item, and then does what its first argument asks.
 */
public final class ProbeApp {

    /** Properties the Java-side launcher sets from its parameters. */
    private static final String[] PROPERTIES = {
        "tarvo.programPath", "tarvo.guiApplication", "tarvo.appendLogs",
    };

    private ProbeApp() {
    }

    public static void main(String[] args) throws Exception {
        record("argc " + args.length);
        for (String arg : args) {
            record("arg " + escape(arg));
        }
        for (String name : PROPERTIES) {
            record("property " + name + "=" + escape(System.getProperty(name)));
        }
        String mode = args.length > 0 ? args[0] : "";
        if (mode.equals("throw")) {
            throw new IllegalStateException("probe failure");
        } else if (mode.equals("thread")) {
            startNonDaemon(new Runnable() {
                public void run() {
                    pause(1500);
                    record("thread done");
                }
            });
        } else if (mode.equals("output")) {
            System.out.println("to stdout");
            System.err.println("to stderr");
        } else if (mode.equals("listener")) {
            StartupWaiter.listen();
        } else if (!mode.equals("return")) {
            throw new IllegalArgumentException("unknown mode " + mode);
        }
    }

    static void startNonDaemon(Runnable body) {
        Thread thread = new Thread(body, "probe-worker");
        thread.setDaemon(false);
        thread.start();
    }

    static void pause(long millis) {
        try {
            Thread.sleep(millis);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        }
    }

    /** Appends one line; each call opens and closes the file, as the harness appends to it too. */
    static synchronized void record(String line) {
        try {
            Files.write(Paths.get(System.getProperty("realvm.out")),
                    (line + "\n").getBytes(StandardCharsets.UTF_8),
                    StandardOpenOption.CREATE, StandardOpenOption.APPEND);
        } catch (IOException e) {
            throw new RuntimeException(e);
        }
    }

    /**
     * The text as UTF-8 with backslash, control characters and unpaired surrogates escaped, so
     * every line stays one line and a damaged character shows; null becomes \null.
     */
    static String escape(String text) {
        if (text == null) {
            return "\\null";
        }
        StringBuilder out = new StringBuilder();
        for (int i = 0; i < text.length(); ) {
            int code = text.codePointAt(i);
            i += Character.charCount(code);
            if (code == '\\') {
                out.append("\\\\");
            } else if (code < 0x20 || code == 0x7f || (code >= 0xd800 && code <= 0xdfff)) {
                out.append(String.format("\\u%04x", code));
            } else {
                out.appendCodePoint(code);
            }
        }
        return out.toString();
    }
}
