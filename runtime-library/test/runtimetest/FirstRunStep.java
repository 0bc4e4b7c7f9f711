package runtimetest;

/** A first-run step whose answer the test chooses. */
public class FirstRunStep {

    public static volatile boolean answer;
    public static volatile RuntimeException failure;
    public static volatile int calls;

    public static boolean firstRun() {
        calls++;
        if (failure != null) {
            throw failure;
        }
        return answer;
    }
}
