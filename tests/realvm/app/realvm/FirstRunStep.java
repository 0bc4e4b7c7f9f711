package realvm;

/**
 * The one-time step the first-run marker names. The system property realvm.firstRun says what it
 * does: "true" lets the launch go on, "throw" throws, anything else stops the launch.
 */
public final class FirstRunStep {

    private FirstRunStep() {
    }

    public static boolean firstRun() {
        String answer = System.getProperty("realvm.firstRun", "");
        ProbeApp.record("first run step " + answer);
        if (answer.equals("throw")) {
            throw new IllegalStateException("first run failure");
        }
        return answer.equals("true");
    }
}
